#include "demo/registration.h"

#include <stdexcept>
#include <vector>

namespace {

char checkDigit(const std::string& digits, const std::vector<int>& weights) {
  int sum = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) sum += (digits[i] - '0') * weights[i];
  int rest = sum % 11;
  return static_cast<char>('0' + (rest < 2 ? 0 : 11 - rest));
}

}  // namespace

std::string MakeCpf(const std::string& base9) {
  if (base9.size() != 9) throw std::invalid_argument("CPF base must have 9 digits");
  std::string n = base9;
  n += checkDigit(n, {10, 9, 8, 7, 6, 5, 4, 3, 2});
  n += checkDigit(n, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2});
  return n;
}

std::string MakeCnpj(const std::string& base12) {
  if (base12.size() != 12) throw std::invalid_argument("CNPJ base must have 12 digits");
  std::string n = base12;
  n += checkDigit(n, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  n += checkDigit(n, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  return n;
}
