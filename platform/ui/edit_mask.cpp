#include "ui/edit_mask.h"

#include <algorithm>

#include "ui/utf8.h"

namespace ui {

EditMask::EditMask(std::string_view spec) {
  std::u32string s = Utf8Decode(spec);
  std::size_t i = 0;
  Case conversion = Case::None;
  auto input = [&](Kind kind, bool required) { slots_.push_back({kind, required, conversion, 0}); };
  for (; i < s.size() && s[i] != U';'; ++i) {
    char32_t c = s[i];
    switch (c) {
      case U'\\':
        if (i + 1 < s.size()) slots_.push_back({Kind::Literal, false, Case::None, s[++i]});
        break;
      case U'>':
        if (i + 1 < s.size() && s[i + 1] == U'<') {
          conversion = Case::None;
          ++i;
        } else {
          conversion = Case::Upper;
        }
        break;
      case U'<':
        if (i + 1 < s.size() && s[i + 1] == U'>') {
          conversion = Case::None;
          ++i;
        } else {
          conversion = Case::Lower;
        }
        break;
      case U'!': reverse_ = true; break;
      case U'0': input(Kind::Digit, true); break;
      case U'9': input(Kind::Digit, false); break;
      case U'#': input(Kind::DigitOrSign, false); break;
      case U'L': input(Kind::Letter, true); break;
      case U'l': input(Kind::Letter, false); break;
      case U'A': input(Kind::AlphaNum, true); break;
      case U'a': input(Kind::AlphaNum, false); break;
      case U'C': input(Kind::Any, true); break;
      case U'c': input(Kind::Any, false); break;
      case U'_': slots_.push_back({Kind::Literal, false, Case::None, U' '}); break;
      default: slots_.push_back({Kind::Literal, false, Case::None, c}); break;
    }
  }
  if (i < s.size()) ++i;  // the first separator
  std::size_t save_start = i;
  while (i < s.size() && s[i] != U';') ++i;
  if (i > save_start) save_literals_ = s[save_start] != U'0';
  if (i < s.size()) {
    ++i;
    if (i < s.size()) blank_ = s[i];
  }
}

bool EditMask::Accepts(const Slot& slot, char32_t ch) const {
  switch (slot.kind) {
    case Kind::Digit: return IsDigitChar(ch);
    case Kind::DigitOrSign: return IsDigitChar(ch) || ch == U'+' || ch == U'-';
    case Kind::Letter: return IsLetterChar(ch);
    case Kind::AlphaNum: return IsLetterChar(ch) || IsDigitChar(ch);
    case Kind::Any: return ch >= 32;
    case Kind::Literal: return false;
  }
  return false;
}

char32_t EditMask::Convert(const Slot& slot, char32_t ch) const {
  if (slot.conversion == Case::Upper) return UpperChar(ch);
  if (slot.conversion == Case::Lower) return LowerChar(ch);
  return ch;
}

std::u32string EditMask::BlankEditText() const {
  std::u32string out;
  for (const Slot& slot : slots_) out.push_back(slot.kind == Kind::Literal ? slot.literal : blank_);
  return out;
}

std::u32string EditMask::EditTextFor(std::string_view text) const {
  std::u32string value = Utf8Decode(text);
  std::u32string out;
  auto put = [&](const Slot& slot, char32_t c) { out.push_back(c == U' ' ? blank_ : Convert(slot, c)); };
  if (save_literals_) {
    // The value carries the literals: each one is matched in place, so a
    // value typed without them still lands in the right positions.
    std::size_t i = 0;
    for (const Slot& slot : slots_) {
      if (slot.kind == Kind::Literal) {
        out.push_back(slot.literal);
        if (i < value.size() && value[i] == slot.literal) ++i;
      } else if (i < value.size()) {
        put(slot, value[i++]);
      } else {
        out.push_back(blank_);
      }
    }
    return out;
  }
  std::size_t inputs = 0;
  for (const Slot& slot : slots_) inputs += slot.kind != Kind::Literal;
  if (value.size() > inputs) value.resize(inputs);
  if (reverse_) value.insert(0, inputs - value.size(), U' ');
  std::size_t i = 0;
  for (const Slot& slot : slots_) {
    if (slot.kind == Kind::Literal) {
      out.push_back(slot.literal);
    } else if (i < value.size()) {
      put(slot, value[i++]);
    } else {
      out.push_back(blank_);
    }
  }
  return out;
}

std::string EditMask::TextFrom(const std::u32string& edit_text) const {
  std::u32string out;
  if (save_literals_) {
    for (std::size_t p = 0; p < edit_text.size(); ++p) {
      bool input = p >= slots_.size() || slots_[p].kind != Kind::Literal;
      out.push_back(input && edit_text[p] == blank_ ? U' ' : edit_text[p]);
    }
    return Utf8Encode(out);
  }
  for (std::size_t p = 0; p < edit_text.size(); ++p) {
    if (p < slots_.size() && slots_[p].kind == Kind::Literal) continue;
    out.push_back(edit_text[p]);
  }
  if (reverse_) {
    std::size_t first = 0;
    while (first < out.size() && out[first] == blank_) ++first;
    out.erase(0, first);
  } else {
    while (!out.empty() && out.back() == blank_) out.pop_back();
  }
  for (char32_t& c : out)
    if (c == blank_) c = U' ';
  return Utf8Encode(out);
}

bool EditMask::Type(std::u32string& edit_text, std::size_t& caret, char32_t ch) const {
  std::size_t n = std::min(slots_.size(), edit_text.size());
  auto skip_literals = [&] {
    while (caret < n && slots_[caret].kind == Kind::Literal) ++caret;
  };
  for (std::size_t p = caret; p < n && slots_[p].kind == Kind::Literal; ++p) {
    if (slots_[p].literal == ch) {
      caret = p + 1;
      skip_literals();
      return true;
    }
  }
  std::size_t p = caret;
  while (p < n && slots_[p].kind == Kind::Literal) ++p;
  if (p >= n) return false;
  const Slot& slot = slots_[p];
  if (ch == U' ' && !slot.required) {
    edit_text[p] = blank_;
  } else if (Accepts(slot, ch)) {
    edit_text[p] = Convert(slot, ch);
  } else {
    return false;
  }
  caret = p + 1;
  skip_literals();
  return true;
}

void EditMask::Backspace(std::u32string& edit_text, std::size_t& caret) const {
  std::size_t p = std::min({caret, slots_.size(), edit_text.size()});
  while (p > 0) {
    --p;
    if (slots_[p].kind != Kind::Literal) {
      edit_text[p] = blank_;
      caret = p;
      return;
    }
  }
  caret = 0;
}

int EditMask::FirstInvalid(const std::u32string& edit_text) const {
  for (std::size_t p = 0; p < slots_.size(); ++p) {
    const Slot& slot = slots_[p];
    if (slot.kind == Kind::Literal) continue;
    char32_t c = p < edit_text.size() ? edit_text[p] : blank_;
    if (c == blank_ || c == U' ') {
      if (slot.required) return static_cast<int>(p);
    } else if (!Accepts(slot, c)) {
      return static_cast<int>(p);
    }
  }
  return -1;
}

bool EditMask::IsBlank(const std::u32string& edit_text) const {
  for (std::size_t p = 0; p < slots_.size() && p < edit_text.size(); ++p)
    if (slots_[p].kind != Kind::Literal && edit_text[p] != blank_) return false;
  return true;
}

}  // namespace ui
