#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "data/money.h"

namespace {

// The double a person means by thousandths / 1000, read from its decimal text.
double FromThousandths(std::int64_t thousandths) {
  const std::int64_t magnitude = thousandths < 0 ? -thousandths : thousandths;
  std::string text = std::to_string(magnitude / 1000) + ".";
  std::string fraction = std::to_string(magnitude % 1000);
  text += std::string(3 - fraction.size(), '0') + fraction;
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return thousandths < 0 ? -value : value;
}

// Half away from zero done on the integers themselves.
Cents ExpectedCents(std::int64_t thousandths) {
  return thousandths < 0 ? -((-thousandths + 5) / 10) : (thousandths + 5) / 10;
}

}  // namespace

TEST(Money, HalfCentsOfLargeValuesGoAwayFromZero) {
  EXPECT_EQ(ToCents(1234567.005), 123456701);
  EXPECT_EQ(RoundMoney(1234567.005), 1234567.01);
  EXPECT_EQ(ToCents(-1234567.005), -123456701);
  EXPECT_EQ(ToCents(999999999.995), 100000000000);
  EXPECT_EQ(ToCents(999999999.994), 99999999999);
  EXPECT_EQ(ToCents(1.005), 101);
  EXPECT_EQ(ToCents(2.675), 268);
  EXPECT_EQ(ToCents(0.004), 0);
  EXPECT_EQ(ToCents(0.005), 1);
  EXPECT_EQ(ToCents(33.33), 3333);
  EXPECT_EQ(ToCents(0.1 + 0.2), 30);
}

TEST(Money, EveryThreeDecimalValueRoundsAsItsDecimalText) {
  // The binary approximation of x.xx5 lies on either side of the half; the
  // rule must not care, at any size up to the largest amount.
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<std::int64_t> anyAmount(-999'999'999'999, 999'999'999'999);
  for (int i = 0; i < 200000; ++i) {
    const std::int64_t thousandths = anyAmount(random);
    ASSERT_EQ(ToCents(FromThousandths(thousandths)), ExpectedCents(thousandths)) << thousandths;
  }
  for (std::int64_t base : {0LL, 1'000'000'000LL, 1'234'567'000LL, 999'999'999'000LL})
    for (std::int64_t t = base; t < base + 1000; ++t)
      ASSERT_EQ(ToCents(FromThousandths(t)), ExpectedCents(t)) << t;
}

TEST(Money, CentsGoToDoublesAndBackUnchanged) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<Cents> anyCents(-kMaxAmountCents, kMaxAmountCents);
  for (int i = 0; i < 100000; ++i) {
    const Cents c = anyCents(random);
    ASSERT_EQ(ToCents(FromCents(c)), c);
    ASSERT_EQ(RoundMoney(FromCents(c)), FromCents(c));
  }
  EXPECT_EQ(FromCents(3333), 33.33);
  EXPECT_EQ(FromCents(kMaxAmountCents), 999999999.99);
}

TEST(Money, WhatIsNotMoneyHasNoCents) {
  EXPECT_EQ(ToCents(NAN), std::nullopt);
  EXPECT_EQ(ToCents(INFINITY), std::nullopt);
  EXPECT_EQ(ToCents(1e16), std::nullopt);
  EXPECT_FALSE(std::signbit(RoundMoney(-0.001)));
}

TEST(Money, TextOfCentsForMessages) {
  EXPECT_EQ(CentsText(123456701), "1234567,01");
  EXPECT_EQ(CentsText(-5), "-0,05");
  EXPECT_EQ(CentsText(0), "0,00");
}

TEST(Money, IntegerQuotientsRoundHalfAwayFromZero) {
  EXPECT_EQ(DivideRounded(5, 2), 3);
  EXPECT_EQ(DivideRounded(-5, 2), -3);
  EXPECT_EQ(DivideRounded(4, 3), 1);
  EXPECT_EQ(DivideRounded(400000 * 10000LL, 1200000), 3333);  // 4.000,00 of 12.000,00: 33,33 %
  EXPECT_EQ(DivideRounded(123456789LL * 2000, 10000), 24691358);  // 20 % of 1.234.567,89
}
