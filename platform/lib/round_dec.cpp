#include "lib/consiste.h"

#ifndef DX_ROUNDDEC_IN_FORMATS

#include <charconv>
#include <cmath>
#include <string>

// Works on the shortest decimal text that reads back as the same double, so
// 1.005 is rounded as "1.005" and not as 1.00499999999999989...
double RoundDec(double value, int places) {
  if (!std::isfinite(value) || places < 0) return value;

  char buffer[400];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return value;
  std::string text(buffer, end);

  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.erase(0, 1);
  const std::size_t point = text.find('.');
  if (point == std::string::npos || text.size() - point - 1 <= static_cast<std::size_t>(places)) return value;

  const char firstDropped = text[point + 1 + static_cast<std::size_t>(places)];
  std::string digits = text.substr(0, point) + text.substr(point + 1, static_cast<std::size_t>(places));
  if (firstDropped >= '5') {
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) digits[static_cast<std::size_t>(i)] = '0';
    if (i < 0) digits.insert(digits.begin(), '1');
    else ++digits[static_cast<std::size_t>(i)];
  }
  const std::size_t intDigits = digits.size() - static_cast<std::size_t>(places);
  std::string rounded = (negative ? "-" : "") + digits.substr(0, intDigits);
  if (places > 0) rounded += "." + digits.substr(intDigits);

  double result = 0.0;
  std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
  return result == 0.0 ? 0.0 : result;  // no "-0,00" on screen
}

#endif
