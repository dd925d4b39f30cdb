#include "ui/edit.h"

#include <algorithm>

#include "ui/run_handler.h"
#include "ui/utf8.h"

TCustomEdit::TCustomEdit() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetText(const std::string& text) { StoreText(ApplyCharCase(text)); }

void TCustomEdit::StoreText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  sel_start_ = static_cast<int>(ui::Utf8Length(text_));
  sel_length_ = 0;
  Changed(TProperty::Text);
  Change();
}

void TCustomEdit::SetSelection(int start, int length) {
  const int size = static_cast<int>(ui::Utf8Length(text_));
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  if (start == sel_start_ && length == sel_length_) return;
  sel_start_ = start;
  sel_length_ = length;
  Changed(TProperty::Selection);
}

void TCustomEdit::SetSelStart(int start) { SetSelection(start, sel_length_); }
void TCustomEdit::SetSelLength(int length) { SetSelection(sel_start_, length); }
void TCustomEdit::SelectAll() { SetSelection(0, static_cast<int>(ui::Utf8Length(text_))); }

std::string TCustomEdit::SelText() const {
  const std::u32string cps = ui::Utf8Decode(text_);
  return ui::Utf8Encode(cps.substr(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_)));
}

void TCustomEdit::ReplaceSelection(const std::u32string& replacement) {
  std::u32string cps = ui::Utf8Decode(text_);
  cps.erase(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_));
  std::u32string inserted = replacement;
  if (max_length_ > 0) {
    const std::size_t room = cps.size() < static_cast<std::size_t>(max_length_)
                                 ? static_cast<std::size_t>(max_length_) - cps.size()
                                 : 0;
    if (inserted.size() > room) inserted.resize(room);
  }
  cps.insert(static_cast<std::size_t>(sel_start_), inserted);
  modified_ = true;
  StoreText(ui::Utf8Encode(cps));
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::SetMaxLength(int v) {
  if (v == max_length_) return;
  max_length_ = v;
  Changed(TProperty::MaxLength);
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
  if (c == char_case_) return;
  char_case_ = c;
  Changed(TProperty::CharCase);
  SetText(Text());
}

void TCustomEdit::SetReadOnly(bool v) {
  if (v == read_only_) return;
  read_only_ = v;
  Changed(TProperty::ReadOnly);
}

void TCustomEdit::SetPasswordChar(char32_t c) {
  if (c == password_char_) return;
  password_char_ = c;
  Changed(TProperty::PasswordChar);
}

void TCustomEdit::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(TProperty::Alignment);
}

char32_t TCustomEdit::ApplyCharCase(char32_t ch) const {
  if (char_case_ == ecUpperCase) return ui::UpperChar(ch);
  if (char_case_ == ecLowerCase) return ui::LowerChar(ch);
  return ch;
}

std::string TCustomEdit::ApplyCharCase(const std::string& text) const {
  if (char_case_ == ecNormal) return text;
  std::u32string cps = ui::Utf8Decode(text);
  for (char32_t& c : cps) c = ApplyCharCase(c);
  return ui::Utf8Encode(cps);
}

void TCustomEdit::UserSetText(const std::string& text) {
  if (!UserMayEdit()) return;
  RunHandler([&] { ReplaceByUser(text); });
}

void TCustomEdit::ReplaceByUser(const std::string& text) {
  std::u32string cps = ui::Utf8Decode(ApplyCharCase(text));
  if (max_length_ > 0 && cps.size() > static_cast<std::size_t>(max_length_)) cps.resize(static_cast<std::size_t>(max_length_));
  modified_ = true;
  StoreText(ui::Utf8Encode(cps));
}

void TCustomEdit::UserType(const std::string& characters) {
  for (char32_t c : ui::Utf8Decode(characters)) UserKeyPress(c);
}

void TCustomEdit::KeyPressDefault(char32_t& key) {
  if (!UserMayEdit()) return;
  if (sel_length_ > 0 && (key == VK_BACK || key >= 32)) {
    ReplaceSelection(key == VK_BACK ? std::u32string() : std::u32string(1, ApplyCharCase(key)));
  } else if (key == VK_BACK) {
    std::u32string cps = ui::Utf8Decode(text_);
    if (cps.empty()) return;
    cps.pop_back();
    modified_ = true;
    StoreText(ui::Utf8Encode(cps));
  } else if (key >= 32) {
    AppendTyped(ApplyCharCase(key));
  }
}

void TCustomEdit::AppendTyped(char32_t ch) {
  if (!UserMayEdit()) return;
  if (max_length_ > 0 && ui::Utf8Length(text_) >= static_cast<std::size_t>(max_length_)) return;
  modified_ = true;
  StoreText(text_ + ui::Utf8Encode(ch));
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  std::string text = Text();
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  SetText(text);
}

void TMemo::AddLine(const std::string& line) {
  std::vector<std::string> lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

void TMemo::KeyPressDefault(char32_t& key) {
  if (key == VK_RETURN && want_returns_) {
    AppendTyped(U'\n');
    return;
  }
  TCustomEdit::KeyPressDefault(key);
}
