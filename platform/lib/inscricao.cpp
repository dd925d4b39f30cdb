#include <string>

#include "lib/consiste.h"

namespace {

constexpr std::size_t kDigitosCpf = 11;
constexpr std::size_t kDigitosCnpj = 14;

bool IsSeparator(char c) {
  return c == '.' || c == ',' || c == '/' || c == '-' || c == ' ' || c == '\t';
}

}  // namespace

std::string Ajusta_Inscricao(std::string& number) {
  std::string_view typed = number;
  if (!typed.empty() && (typed.front() == 'C' || typed.front() == 'c')) typed.remove_prefix(1);

  std::string stored;
  bool onlyDigits = true;
  for (char c : typed) {
    if (IsSeparator(c)) continue;
    if (c < '0' || c > '9') onlyDigits = false;
    stored += c;
  }
  number = stored;

  if (onlyDigits && stored.size() == kDigitosCpf) return "F" + stored;
  if (onlyDigits && stored.size() == kDigitosCnpj) return "J" + stored;
  return "C" + stored;
}

std::string PictPess(std::string_view kind) {
  while (!kind.empty() && kind.front() == ' ') kind.remove_prefix(1);
  if (kind.empty()) return "";
  switch (kind.front()) {
    case 'F': case 'f':
      return "999.999.999-99;0;_";
    case 'J': case 'j':
      return "99.999.999/9999-99;0;_";
    default:
      return "";
  }
}
