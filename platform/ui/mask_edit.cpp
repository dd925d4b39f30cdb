#include "ui/mask_edit.h"

#include "ui/utf8.h"

namespace {
const char* const kInvalidInput = "Valor de entrada inválido. Use a tecla Esc para abandonar as alterações.";
}

void TMaskEdit::SetEditMask(const std::string& spec) {
  if (spec == mask_spec_) return;
  std::string text = Text();
  mask_spec_ = spec;
  mask_ = ui::EditMask(spec);
  caret_ = 0;
  Changed(TProperty::EditMask);
  if (IsMasked()) {
    StoreEdit(mask_.EditTextFor(ApplyCharCase(text)));
  } else {
    edit_.clear();
    TCustomEdit::SetText(text);
  }
}

std::string TMaskEdit::EditText() const {
  return IsMasked() ? ui::Utf8Encode(edit_) : TCustomEdit::Text();
}

void TMaskEdit::SetEditText(const std::string& edit_text) {
  if (!IsMasked()) {
    TCustomEdit::SetText(edit_text);
    return;
  }
  std::u32string edit = ui::Utf8Decode(edit_text);
  edit.resize(mask_.Positions(), mask_.Blank());
  StoreEdit(edit);
}

std::string TMaskEdit::Text() const {
  return IsMasked() ? mask_.TextFrom(edit_) : TCustomEdit::Text();
}

void TMaskEdit::SetText(const std::string& text) {
  if (!IsMasked()) {
    TCustomEdit::SetText(text);
    return;
  }
  StoreEdit(mask_.EditTextFor(ApplyCharCase(text)));
}

void TMaskEdit::StoreEdit(const std::u32string& edit) {
  if (edit == edit_) return;
  edit_ = edit;
  Changed(TProperty::Text);
  Change();
}

void TMaskEdit::DoEnter() {
  on_enter_ = edit_;
  caret_ = 0;
  SetModified(false);
  TCustomEdit::DoEnter();
}

void TMaskEdit::DoExit() {
  if (IsMasked() && Modified() && !mask_.IsBlank(edit_)) {
    int bad = mask_.FirstInvalid(edit_);
    if (bad >= 0) {
      caret_ = static_cast<std::size_t>(bad);
      throw Exception(kInvalidInput);
    }
  }
  TCustomEdit::DoExit();
}

void TMaskEdit::KeyPressDefault(char32_t& key) {
  if (!IsMasked()) {
    TCustomEdit::KeyPressDefault(key);
    return;
  }
  if (!UserMayEdit()) return;
  std::u32string edit = edit_;
  if (key == VK_BACK) {
    mask_.Backspace(edit, caret_);
  } else if (key < 32 || !mask_.Type(edit, caret_, ApplyCharCase(key))) {
    return;
  }
  SetModified(true);
  StoreEdit(edit);
}

void TMaskEdit::KeyDownDefault(int& key, TShiftState shift) {
  if (key == VK_ESCAPE && IsMasked() && Modified()) {
    SetModified(false);
    caret_ = 0;
    StoreEdit(on_enter_.empty() ? mask_.BlankEditText() : on_enter_);
    return;
  }
  TCustomEdit::KeyDownDefault(key, shift);
}

void TMaskEdit::ReplaceByUser(const std::string& text) {
  if (!IsMasked()) {
    TCustomEdit::ReplaceByUser(text);
    return;
  }
  // As typed into an emptied edit: characters the mask refuses are dropped.
  std::u32string edit = mask_.BlankEditText();
  caret_ = 0;
  for (char32_t c : ui::Utf8Decode(text)) mask_.Type(edit, caret_, ApplyCharCase(c));
  SetModified(true);
  StoreEdit(edit);
}
