#include "printable_text.h"

#include <algorithm>
#include <cstdio>

namespace {

// The length of the well-formed UTF-8 sequence starting at `at`, or 0.
std::size_t Utf8Length(std::string_view s, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  std::size_t n = 0;
  unsigned min = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xc2 && lead <= 0xdf) n = 2, min = 0x80;
  else if (lead >= 0xe0 && lead <= 0xef) n = 3, min = 0x800;
  else if (lead >= 0xf0 && lead <= 0xf4) n = 4, min = 0x10000;
  else return 0;
  if (at + n > s.size()) return 0;
  unsigned code = lead & (0x7fu >> n);
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xc0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3fu);
  }
  if (code < min || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
  // C1 controls (U+0080..U+009F) and the Unicode line and paragraph
  // separators start a line in some readers too.
  if ((code >= 0x80 && code <= 0x9f) || code == 0x2028 || code == 0x2029) return 0;
  return n;
}

void AppendEscape(std::string& out, unsigned char c) {
  switch (c) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    case '\\': out += "\\\\"; return;
    default: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
}

// Escapes `text`; stops after `maxChars` characters and says so.
std::string Escape(std::string_view text, std::size_t maxChars, bool escapeBackslash) {
  std::string out;
  out.reserve(std::min(text.size(), maxChars * 4) + 2);
  std::size_t chars = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (chars == maxChars) {
      out += "…(" + std::to_string(text.size()) + " bytes)";
      return out;
    }
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const std::size_t n = Utf8Length(text, at);
    if (n == 1 && c >= 0x20 && c != 0x7f && (c != '\\' || !escapeBackslash)) {
      out += static_cast<char>(c);
    } else if (n > 1) {
      out.append(text, at, n);
    } else {
      // A control character, a byte that starts no UTF-8 character, or a
      // C1 control or separator (escaped byte by byte).
      AppendEscape(out, c);
    }
    at += n == 0 ? 1 : n;
    ++chars;
  }
  return out;
}

}  // namespace

std::string PrintableText(std::string_view text, std::size_t maxChars) { return Escape(text, maxChars, true); }

std::string PrintableLine(std::string_view line) { return Escape(line, std::string_view::npos, false); }
