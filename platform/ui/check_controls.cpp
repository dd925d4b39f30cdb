#include "ui/check_controls.h"

#include "ui/run_handler.h"

TCheckBox::TCheckBox() {
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(TProperty::Checked);
  Click();
}

void TCheckBox::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TProperty::Alignment);
}

void TCheckBox::UserClick() {
  if (!Showing() || !EffectivelyEnabled()) return;
  RunHandler([this] {
    SetFocus();
    if (Focused()) SetChecked(!checked_);
  });
}

void TCheckBox::KeyPressDefault(char32_t& key) {
  if (key == U' ') SetChecked(!checked_);
}

TRadioButton::TRadioButton() {
  SetTabStop(true);
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed(TProperty::Checked);
  if (!v) return;
  if (TWinControl* parent = Parent()) {
    for (TControl* c : parent->Controls()) {
      auto* sibling = dynamic_cast<TRadioButton*>(c);
      if (sibling && sibling != this && sibling->checked_) {
        sibling->checked_ = false;
        sibling->Changed(TProperty::Checked);
      }
    }
  }
  Click();
}

void TRadioButton::UserClick() {
  if (!Showing() || !EffectivelyEnabled()) return;
  RunHandler([this] {
    SetFocus();
    if (Focused()) SetChecked(true);
  });
}
