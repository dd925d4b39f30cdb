#pragma once
// A double as the decimal number it prints as (its shortest round-trip
// representation), so rounding works on the digits a person sees: 1.005 is
// "1005" with one integer digit, not 1.00499999999999989...

#include <string>

struct DecimalDigits {
  bool negative = false;
  std::string digits;  // significant digits, no leading zeros; empty for zero
  int intDigits = 0;   // how many of them stand before the decimal point (may be <= 0)

  static DecimalDigits Of(double value);

  bool IsZero() const { return digits.empty(); }
  // Rounds half away from zero to `places` decimals.
  void RoundToPlaces(int places);
  // Rounds half away from zero to `count` significant digits.
  void RoundToSignificant(int count);
  // Digits of the integer part ("" for zero) and of the first `places` decimals.
  std::string IntegerPart() const;
  std::string FractionPart(int places) const;
  double ToDouble() const;

 private:
  void RoundAt(int keep);  // keep this many leading digits, rounding on the next
};
