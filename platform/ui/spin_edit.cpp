#include "ui/spin_edit.h"

#include <algorithm>
#include <charconv>

#include "ui/run_handler.h"

TSpinEdit::TSpinEdit() { SetText("0"); }

int TSpinEdit::Limit(int value) const {
  if (max_value_ == min_value_) return value;
  return std::clamp(value, min_value_, std::max(min_value_, max_value_));
}

int TSpinEdit::Value() const {
  std::string text = Text();
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return min_value_;
  return value;
}

void TSpinEdit::SetValue(int value) { SetText(std::to_string(Limit(value))); }

void TSpinEdit::SetMinValue(int v) {
  if (v == min_value_) return;
  min_value_ = v;
  Changed(TProperty::MinValue);
}

void TSpinEdit::SetMaxValue(int v) {
  if (v == max_value_) return;
  max_value_ = v;
  Changed(TProperty::MaxValue);
}

void TSpinEdit::UserIncrement() {
  if (!UserMayEdit()) return;
  RunHandler([this] {
    SetModified(true);
    SetValue(Value() + increment_);
  });
}

void TSpinEdit::UserDecrement() {
  if (!UserMayEdit()) return;
  RunHandler([this] {
    SetModified(true);
    SetValue(Value() - increment_);
  });
}

void TSpinEdit::DoExit() {
  // A value typed out of range is brought back within the limits.
  if (Limit(Value()) != Value()) SetValue(Value());
  TCustomEdit::DoExit();
}

void TSpinEdit::KeyPressDefault(char32_t& key) {
  bool allowed = key == VK_BACK || (key >= U'0' && key <= U'9') || key == U'-' || key == U'+';
  if (!allowed) {
    key = 0;
    return;
  }
  TCustomEdit::KeyPressDefault(key);
}

void TSpinEdit::KeyDownDefault(int& key, TShiftState shift) {
  if (key == VK_UP) {
    SetModified(true);
    SetValue(Value() + increment_);
  } else if (key == VK_DOWN) {
    SetModified(true);
    SetValue(Value() - increment_);
  } else {
    TCustomEdit::KeyDownDefault(key, shift);
  }
}
