#pragma once
// TDateEditPlus: a date edit with the mask "!99/99/9999;1;_". A blank edit
// holds no date; a filled one must name a day that exists, which is checked
// when the user leaves it and whenever code asks (CheckValidDate).

#include <optional>
#include <string>

#include "data/variant.h"
#include "ui/mask_edit.h"

class TDateEditPlus : public TCustomDateEdit {
 public:
  void SetDate(DateTime date);
  // The date shown; nullopt when the edit is blank. Raises as CheckValidDate.
  std::optional<DateTime> GetDate() const;
  bool IsBlank() const;
  // Raises Exception "'31/02/2027' não é uma data válida" when the edit
  // holds something that is not a date; a blank edit passes.
  void CheckValidDate() const;

  void DoExit() override;
};
