#include "ui/utf8.h"

namespace ui {

std::u32string Utf8Decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || (extra > 0 && i + extra >= text.size())) {
      // A stray byte is kept as the Latin-1 character of the same value.
      out.push_back(c);
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok) {
      out.push_back(c);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

std::string Utf8Encode(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

std::string Utf8Encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t cp : text) out += Utf8Encode(cp);
  return out;
}

std::size_t Utf8Length(std::string_view text) { return Utf8Decode(text).size(); }

char32_t UpperChar(char32_t ch) {
  if (ch >= U'a' && ch <= U'z') return ch - 32;
  if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return ch - 32;
  return ch;
}

char32_t LowerChar(char32_t ch) {
  if (ch >= U'A' && ch <= U'Z') return ch + 32;
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return ch + 32;
  return ch;
}

std::string Utf8Upper(std::string_view text) {
  std::u32string cps = Utf8Decode(text);
  for (char32_t& c : cps) c = UpperChar(c);
  return Utf8Encode(cps);
}

bool IsDigitChar(char32_t ch) { return ch >= U'0' && ch <= U'9'; }

bool IsLetterChar(char32_t ch) {
  return (ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z') ||
         (ch >= 0xC0 && ch <= 0x24F && ch != 0xD7 && ch != 0xF7);
}

}  // namespace ui
