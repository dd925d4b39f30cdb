#include "workspace/registration_mask.h"

#include <algorithm>

namespace workspace {

namespace {

bool IsPlaceholder(char c) {
  switch (c) {
    case '9': case '0': case '#':
    case 'a': case 'A': case 'l': case 'L': case 'c': case 'C':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string_view RegistrationMask(std::string_view personType) {
  if (personType == "F") return kCpfMask;
  if (personType == "J") return kCnpjMask;
  return {};
}

std::string ApplyMask(std::string_view mask, std::string_view raw) {
  const auto placeholders = std::count_if(mask.begin(), mask.end(), IsPlaceholder);
  if (mask.empty() || static_cast<std::size_t>(placeholders) != raw.size()) {
    return std::string(raw);
  }
  std::string out;
  std::size_t next = 0;
  for (char m : mask) out += IsPlaceholder(m) ? raw[next++] : m;
  return out;
}

std::string FormatRegistration(std::string_view number, std::string_view personType) {
  return ApplyMask(RegistrationMask(personType), number);
}

}  // namespace workspace
