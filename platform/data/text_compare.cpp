#include "text_compare.h"

namespace {

// Folded code unit at s[i], advancing i past it; two-byte Latin-1 letters fold as a pair.
unsigned NextFolded(std::string_view s, std::size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i++]);
  if (c >= 'A' && c <= 'Z') return c + 0x20u;
  if (c == 0xC3 && i < s.size()) {
    unsigned char n = static_cast<unsigned char>(s[i]);
    if (n >= 0x80 && n <= 0x9E && n != 0x97) {
      ++i;
      return 0xC300u | (n + 0x20u);
    }
  }
  return c;
}

}  // namespace

std::string FoldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    unsigned u = NextFolded(s, i);
    if (u > 0xFF) out.push_back(static_cast<char>(u >> 8));
    out.push_back(static_cast<char>(u & 0xFF));
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (NextFolded(a, i) != NextFolded(b, j)) return false;
  return i == a.size() && j == b.size();
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  std::size_t i = 0, j = 0;
  while (i < text.size() && j < prefix.size())
    if (NextFolded(text, i) != NextFolded(prefix, j)) return false;
  return j == prefix.size();
}

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string_view Utf8Prefix(std::string_view s, std::size_t count) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (chars == count) return s.substr(0, i);
      ++chars;
    }
  }
  return s;
}

std::string_view TrimRight(std::string_view s) {
  std::size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}
