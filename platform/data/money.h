#pragma once
// Money as whole cents, and the one rounding rule the client and the
// application server share: half away from zero on the decimal value a
// double prints as (1.005 is "1.005", so it rounds to 1.01, however it is
// held in binary). Amounts travel as doubles and are stored and summed as
// cents; these functions are the only way between the two. All functions
// are pure and thread-safe.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Cents = std::int64_t;

// The largest amount a screen or a method takes: 999.999.999,99.
inline constexpr Cents kMaxAmountCents = 99'999'999'999;

// `value` rounded half away from zero to `places` decimals of its decimal
// value: RoundDec(1.005, 2) == 1.01, RoundDec(-2.675, 2) == -2.68,
// RoundDec(1234567.005, 2) == 1234567.01. Never answers -0.
double RoundDec(double value, int places);

// The amount in cents by the same rule; none for a value that is not finite
// or too large to be money (beyond 10^15).
std::optional<Cents> ToCents(double value);

// The double nearest to cents / 100, which prints as the amount itself
// (3333 -> 33.33), so converting back and forth never drifts.
double FromCents(Cents cents);

// numerator / denominator rounded half away from zero, in integers: for
// shares and percentages of amounts held in cents (denominator not 0).
std::int64_t DivideRounded(std::int64_t numerator, std::int64_t denominator);

// `total` in `count` installments: each the share total / count in cents,
// rounded half away from zero, and the rounding remainder on the last one
// (3333, 3333, 3334 for 100,00 in 3; 6667, 6667, 6666 for 200,00). Where
// rounding the share up would leave the last with nothing or less (5,50 in
// 99), the share is rounded down instead, so every installment of a total of
// at least `count` cents is above zero. Nothing for a count of 0 or less.
// The one split of the dialogs' generator and of the accounts the server
// generates.
std::vector<Cents> SplitAmount(Cents total, int count);

// RoundDec(value, 2).
double RoundMoney(double value);

// The amount as the messages show it: "-1234567,01" (comma, no grouping).
std::string CentsText(Cents cents);
