#include "methods/key_codes.h"

#include <algorithm>
#include <cctype>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string KeyCode(std::string_view text, int width) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = text.find_last_not_of(' ');
  std::string code(text.substr(b, e - b + 1));
  for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (width <= 0 || !std::all_of(code.begin(), code.end(), isDigit)) return code;
  auto size = static_cast<std::size_t>(width);
  std::size_t extra = 0;
  while (code.size() - extra > size && code[extra] == '0') ++extra;
  code.erase(0, extra);
  if (code.size() < size) code.insert(0, size - code.size(), '0');
  return code;
}

std::optional<std::string> SequenceArg(std::string_view text) {
  std::string code = KeyCode(text, kSequenceWidth);
  if (code.empty() || code == "SEQ") return std::nullopt;
  return code;
}

std::string RegistrationDigits(std::string_view text) {
  std::string digits;
  for (char c : text)
    if (isDigit(c)) digits += c;
  return digits;
}
