#include "decimal_digits.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

DecimalDigits DecimalDigits::Of(double value) {
  DecimalDigits d;
  if (value == 0.0 || !std::isfinite(value)) return d;
  d.negative = value < 0;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
  std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  std::size_t e = s.find('e');
  for (char c : s.substr(0, e))
    if (c != '.') d.digits.push_back(c);
  int exponent = std::atoi(std::string(s.substr(e + 1)).c_str());
  d.intDigits = exponent + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

void DecimalDigits::RoundAt(int keep) {
  if (keep >= static_cast<int>(digits.size())) return;
  if (keep < 0) {
    digits.clear();
    return;
  }
  bool up = digits[static_cast<std::size_t>(keep)] >= '5';
  digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++digits[static_cast<std::size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      ++intDigits;
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) intDigits = 0;
}

void DecimalDigits::RoundToPlaces(int places) { RoundAt(intDigits + places); }

void DecimalDigits::RoundToSignificant(int count) { RoundAt(count); }

std::string DecimalDigits::IntegerPart() const {
  if (intDigits <= 0) return "";
  std::string s = digits.substr(0, static_cast<std::size_t>(intDigits));
  s.resize(static_cast<std::size_t>(intDigits), '0');
  return s;
}

std::string DecimalDigits::FractionPart(int places) const {
  std::string s;
  for (int i = 0; i < places; ++i) {
    int pos = intDigits + i;
    s.push_back(pos >= 0 && pos < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(pos)] : '0');
  }
  return s;
}

double DecimalDigits::ToDouble() const {
  if (digits.empty()) return negative ? -0.0 : 0.0;
  std::string s = std::string(negative ? "-" : "") + "0." + digits + "e" + std::to_string(intDigits);
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}
