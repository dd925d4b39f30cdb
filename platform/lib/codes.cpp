#include <algorithm>
#include <string>

#include "lib/consiste.h"

namespace {

bool IsMaskFiller(char c) {
  switch (c) {
    case ' ': case '\t': case '_': case '/': case '.': case '-': case ',': case ':': case '(': case ')':
      return true;
    default:
      return false;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

bool EmptyString(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsMaskFiller);
}

std::string Ajusta(std::string_view text, int width) {
  std::string_view code = Trim(text);
  if (code.empty() || width <= 0 || !std::all_of(code.begin(), code.end(), IsDigit)) return std::string(code);

  const auto size = static_cast<std::size_t>(width);
  while (code.size() > size && code.front() == '0') code.remove_prefix(1);
  if (code.size() >= size) return std::string(code);
  return std::string(size - code.size(), '0') + std::string(code);
}
