#pragma once
// Check boxes and radio buttons.
//
// Changing Checked from code runs the click handler when the state changes;
// a radio button checked from code also unchecks the radio buttons of the
// same parent (they run no handler). The user's click first takes the focus
// (a refused exit means no click), then toggles the check box or checks the
// radio button.

#include "ui/control.h"

class TCheckBox : public TWinControl {
 public:
  TCheckBox();
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

  bool AcceptsFocus() const override { return true; }
  void UserClick() override;

 protected:
  void KeyPressDefault(char32_t& key) override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TRadioButton : public TWinControl {
 public:
  TRadioButton();
  bool Checked() const { return checked_; }
  void SetChecked(bool v);

  bool AcceptsFocus() const override { return true; }
  void UserClick() override;

 private:
  bool checked_ = false;
};
