#include "formats.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "data/decimal_digits.h"
#include "data/exceptions.h"

namespace {

// One section of a number format, taken apart.
struct NumberPattern {
  std::string prefix, suffix;  // literals before the first and after the last digit placeholder
  bool thousands = false;
  int minIntDigits = 0;
  int minDecimals = 0, maxDecimals = 0;
  bool hasDigits = false;
};

std::vector<std::string> SplitSections(std::string_view format) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back().push_back(c);
  }
  return sections;
}

NumberPattern ParsePattern(std::string_view s) {
  NumberPattern p;
  bool inDecimals = false;
  bool seenZero = false;
  int decimalIndex = 0;
  std::string pending;  // literal text after some placeholder, not yet placed
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"' || c == '\'') {
      std::size_t end = s.find(c, i + 1);
      if (end == std::string_view::npos) end = s.size();
      (p.hasDigits ? pending : p.prefix) += s.substr(i + 1, end - i - 1);
      i = end;
    } else if (c == '0' || c == '#') {
      p.suffix += pending;  // a literal between placeholders goes after the number
      pending.clear();
      p.hasDigits = true;
      if (inDecimals) {
        ++decimalIndex;
        p.maxDecimals = decimalIndex;
        if (c == '0') p.minDecimals = decimalIndex;
      } else {
        if (c == '0') seenZero = true;
        if (seenZero) ++p.minIntDigits;
      }
    } else if (c == '.' && !inDecimals) {
      inDecimals = true;
      p.hasDigits = true;
    } else if (c == ',') {
      p.thousands = true;
    } else {
      (p.hasDigits ? pending : p.prefix) += c;
    }
  }
  p.suffix += pending;
  return p;
}

std::string GroupThousands(const std::string& digits) {
  std::string out;
  int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back('.');
    out.push_back(digits[static_cast<std::size_t>(i)]);
  }
  return out;
}

std::string Render(const NumberPattern& p, const DecimalDigits& d, bool minus) {
  std::string intPart = d.IntegerPart();
  if (static_cast<int>(intPart.size()) < p.minIntDigits)
    intPart.insert(0, static_cast<std::size_t>(p.minIntDigits) - intPart.size(), '0');
  if (p.thousands) intPart = GroupThousands(intPart);
  std::string frac = d.FractionPart(p.maxDecimals);
  while (static_cast<int>(frac.size()) > p.minDecimals && frac.back() == '0') frac.pop_back();
  std::string out = minus ? "-" : "";
  out += p.prefix;
  if (p.hasDigits) {
    out += intPart;
    if (!frac.empty()) out += "," + frac;
  }
  out += p.suffix;
  return out;
}

}  // namespace

std::string FormatFloat(std::string_view format, double value) {
  if (format.empty()) return FloatToStr(value);
  if (!std::isfinite(value)) return FloatToStr(value);
  std::vector<std::string> sections = SplitSections(format);
  bool negative = value < 0;
  bool ownNegative = negative && sections.size() >= 2 && !sections[1].empty();
  NumberPattern pattern = ParsePattern(ownNegative ? sections[1] : sections[0]);
  DecimalDigits digits = DecimalDigits::Of(value);
  digits.RoundToPlaces(pattern.maxDecimals);
  if (digits.IsZero() && sections.size() >= 3 && !sections[2].empty()) {
    pattern = ParsePattern(sections[2]);
    return Render(pattern, digits, false);
  }
  // A negative that rounds to zero shows as zero, without a sign.
  bool minus = negative && !ownNegative && !digits.IsZero();
  return Render(pattern, digits, minus);
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  DecimalDigits d = DecimalDigits::Of(value);
  d.RoundToSignificant(15);
  if (d.IsZero()) return "0";
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) of
  // `"," + std::string` and of assigning a literal here.
  std::string s(d.negative ? "-" : "");
  if (d.intDigits > 15 || d.intDigits < -4) {
    s.append(d.digits, 0, 1);
    if (d.digits.size() > 1) s.append(1, ',').append(d.digits, 1);
    return s.append(1, 'E').append(std::to_string(d.intDigits - 1));
  }
  const std::string intPart = d.IntegerPart();
  s.append(intPart.empty() ? std::string_view("0") : std::string_view(intPart));
  int decimals = static_cast<int>(d.digits.size()) - d.intDigits;
  if (decimals > 0) s.append(1, ',').append(d.FractionPart(decimals));
  return s;
}

std::optional<double> ParseFloat(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::nullopt;
  std::size_t e = text.find_last_not_of(' ');
  std::string s(text.substr(b, e - b + 1));
  if (s.find('.') != std::string::npos) return std::nullopt;
  for (char& c : s)
    if (c == ',') c = '.';
  const char* first = s.data();
  if (*first == '+') ++first;
  if (first == s.data() + s.size()) return std::nullopt;
  double v = 0;
  auto res = std::from_chars(first, s.data() + s.size(), v);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

double StrToFloat(std::string_view text) {
  if (auto v = ParseFloat(text)) return *v;
  throw Exception("'" + std::string(text) + "' não é um valor numérico válido");
}
