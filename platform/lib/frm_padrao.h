#pragma once
// TfrmPadrao: what every base form of the shared form package has — the
// screen code `lblCodTela`, the screen's catalogue `msgPadrao`, the library's
// UI hooks installed, and the creation and closing handlers as virtuals a
// screen overrides and calls as inherited. Where the code label sits is the
// derived base's choice (the tool bar, the button panel).
// User-interface thread only.

#include <string>

#include "lib/crv_msg.h"
#include "ui/form.h"
#include "ui/static_controls.h"

class TfrmPadrao : public TForm {
 public:
  explicit TfrmPadrao(const std::string& screenCode);

  TLabel& lblCodTela;
  TMessages& msgPadrao;

  virtual void FormCreate(TComponent* sender);
  virtual void FormClose(TComponent* sender, TCloseAction& action);
};
