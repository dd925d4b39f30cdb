#include "ui/buttons.h"

#include "ui/form.h"
#include "ui/run_handler.h"

TButton::TButton() {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Changed(TProperty::Default);
}

void TButton::SetCancel(bool v) {
  if (v == cancel_) return;
  cancel_ = v;
  Changed(TProperty::Cancel);
}

void TButton::Click() {
  if (modal_result_ != mrNone)
    if (TForm* form = ParentForm()) form->SetModalResult(modal_result_);
  TWinControl::Click();
}

void TButton::UserClick() {
  if (!Showing() || !EffectivelyEnabled()) return;
  RunHandler([this] {
    SetFocus();
    if (Focused()) Click();
  });
}

void TButton::KeyPressDefault(char32_t& key) {
  // Space presses a focused button.
  if (key == U' ') Click();
}

TSpeedButton::TSpeedButton() { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  Changed(TProperty::Flat);
}

void TSpeedButton::SetGlyph(std::string glyph) {
  if (glyph == glyph_) return;
  glyph_ = std::move(glyph);
  Changed(TProperty::Glyph);
}

void TSpeedButton::SetNumGlyphs(int n) {
  if (n == num_glyphs_) return;
  num_glyphs_ = n;
  Changed(TProperty::NumGlyphs);
}
