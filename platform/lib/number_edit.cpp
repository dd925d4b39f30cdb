#include "lib/number_edit.h"

#include <algorithm>

#include "data/formats.h"

namespace {

std::string WithoutDecorations(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "R$") == 0) {
      ++i;
      continue;
    }
    if (text[i] != '.' && text[i] != ' ') out += text[i];
  }
  return out;
}

}  // namespace

std::optional<double> ParseNumberText(const std::string& text) {
  const std::string plain = WithoutDecorations(text);
  if (plain.empty()) return std::nullopt;
  // Only what the edit lets the user type: no exponents, no other signs.
  if (!std::all_of(plain.begin(), plain.end(), [](char c) { return (c >= '0' && c <= '9') || c == ',' || c == '-'; }))
    return std::nullopt;
  return ParseFloat(plain);
}

TNumberEdit::TNumberEdit() { SetAlignment(taRightJustify); }

void TNumberEdit::SetDecimals(int decimals) { decimals_ = std::clamp(decimals, 0, 15); }

void TNumberEdit::SetNumberFormat(std::string format) { number_format_ = std::move(format); }

std::string TNumberEdit::EffectiveFormat() const {
  if (!number_format_.empty()) return number_format_;
  std::string format = thousands_ ? "#,##0" : "0";
  if (decimals_ > 0) format += "." + std::string(static_cast<std::size_t>(decimals_), '0');
  return currency_ ? "\"R$ \"" + format : format;
}

double TNumberEdit::GetNumber() const {
  const std::optional<double> value = ParseNumberText(Text());
  return value ? RoundDec(*value, decimals_) : 0.0;
}

void TNumberEdit::SetNumber(double value) {
  TCustomEdit::SetText(FormatFloat(EffectiveFormat(), RoundDec(value, decimals_)));
}

void TNumberEdit::SetText(const std::string& text) {
  const std::optional<double> value = number_format_.empty() ? std::nullopt : ParseNumberText(text);
  if (value) SetNumber(*value);
  else TCustomEdit::SetText(text);
}

void TNumberEdit::DoExit() {
  if (Modified() && !Text().empty()) SetNumber(GetNumber());
  TCustomEdit::DoExit();
}

bool TNumberEdit::Accepts(char32_t key) const {
  const std::string text = Text();
  const std::size_t comma = text.find(',');
  if (key == U'-') return text.empty();
  if (key == U',') return decimals_ > 0 && comma == std::string::npos;
  if (key < U'0' || key > U'9') return false;
  return comma == std::string::npos || text.size() - comma - 1 < static_cast<std::size_t>(decimals_);
}

void TNumberEdit::KeyPressDefault(char32_t& key) {
  if (key == VK_BACK || Accepts(key)) {
    TCustomEdit::KeyPressDefault(key);
    return;
  }
  key = 0;
}

void TNumberEdit::ReplaceByUser(const std::string& text) {
  // A pasted text must be a number the edit could show; anything else leaves
  // the edit as it was.
  if (!text.empty() && !ParseNumberText(text)) return;
  TCustomEdit::ReplaceByUser(text);
}
