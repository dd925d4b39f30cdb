#include "data/money.h"

#include <cmath>
#include <cstdlib>

#include "data/decimal_digits.h"

double RoundDec(double value, int places) {
  if (!std::isfinite(value)) return value;
  DecimalDigits d = DecimalDigits::Of(value);
  d.RoundToPlaces(places);
  if (d.IsZero()) return 0.0;  // no "-0,00" on screen
  return d.ToDouble();
}

std::optional<Cents> ToCents(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) return std::nullopt;
  // Nearly every amount is already whole cents: the double nearest to some
  // c / 100. Below 10^11 cents that decimal has at most 13 digits, so it is
  // the value's own shortest form and rounding it changes nothing.
  if (std::fabs(value) < 1e9) {
    const Cents c = std::llround(value * 100.0);
    if (FromCents(c) == value) return c;
  }
  DecimalDigits d = DecimalDigits::Of(value);
  d.RoundToPlaces(2);
  if (d.IsZero()) return Cents{0};
  Cents cents = 0;
  for (char c : d.IntegerPart() + d.FractionPart(2)) cents = cents * 10 + (c - '0');
  return d.negative ? -cents : cents;
}

double FromCents(Cents cents) { return static_cast<double>(cents) / 100.0; }

std::int64_t DivideRounded(std::int64_t numerator, std::int64_t denominator) {
  const bool negative = (numerator < 0) != (denominator < 0);
  const std::int64_t n = numerator < 0 ? -numerator : numerator;
  const std::int64_t d = denominator < 0 ? -denominator : denominator;
  const std::int64_t q = (n / d) + ((n % d) * 2 >= d ? 1 : 0);
  return negative ? -q : q;
}

std::vector<Cents> SplitAmount(Cents total, int count) {
  std::vector<Cents> parts;
  if (count <= 0) return parts;
  const Cents others = count - 1;  // installments that take the share
  Cents share = DivideRounded(total, count);
  if (share * others >= total) share = total / count;
  parts.assign(static_cast<std::size_t>(others), share);
  parts.push_back(total - share * others);
  return parts;
}

double RoundMoney(double value) { return RoundDec(value, 2); }

std::string CentsText(Cents cents) {
  const Cents magnitude = cents < 0 ? -cents : cents;
  std::string fraction = std::to_string(magnitude % 100);
  if (fraction.size() < 2) fraction.insert(0, "0");
  return (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "," + fraction;
}
