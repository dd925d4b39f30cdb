#pragma once
// An edit with an edit mask (see edit_mask.h). EditText is what the user
// sees, blanks included; Text is the value, with or without the mask's
// literals as the mask's save flag says. Without a mask it is a plain edit.
//
// Leaving the edit after the user changed it checks the mask's required
// positions; an incomplete value raises, which keeps the focus here (an
// untouched or wholly blank edit is not checked). Escape gives back the text
// the edit had when the focus arrived.

#include <string>

#include "ui/edit.h"
#include "ui/edit_mask.h"

class TMaskEdit : public TCustomEdit {
 public:
  const std::string& EditMask() const { return mask_spec_; }
  void SetEditMask(const std::string& spec);
  bool IsMasked() const { return !mask_.IsEmpty(); }

  std::string EditText() const;
  void SetEditText(const std::string& edit_text);

  std::string Text() const override;
  void SetText(const std::string& text) override;

  // Position the next typed character goes to.
  std::size_t Caret() const { return caret_; }

  void DoEnter() override;
  void DoExit() override;

 protected:
  void KeyPressDefault(char32_t& key) override;
  void KeyDownDefault(int& key, TShiftState shift) override;
  void ReplaceByUser(const std::string& text) override;

 private:
  void StoreEdit(const std::u32string& edit);

  std::string mask_spec_;
  ui::EditMask mask_;
  std::u32string edit_;
  std::u32string on_enter_;
  std::size_t caret_ = 0;
};

// Base of the date edits: a masked edit for dd/mm/yyyy. Reading and checking
// the date belongs to the derived edits, which know the date formats.
class TCustomDateEdit : public TMaskEdit {
 public:
  TCustomDateEdit() { SetEditMask("!99/99/9999;1;_"); }
};
