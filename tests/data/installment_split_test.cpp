// Splitting an amount into installments: the share rounded half away from
// zero on the exact quotient, the remainder on the last installment.

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "data/money.h"

namespace {

struct Split {
  Cents total;
  int count;
  std::vector<Cents> parts;
};

const Split kSplits[] = {
    {10000, 3, {3333, 3333, 3334}},           // 100,00 in 3: the remainder up on the last
    {20000, 3, {6667, 6667, 6666}},           // 200,00 in 3: the remainder down on the last
    {10000, 4, {2500, 2500, 2500, 2500}},     // even: no remainder
    {20000, 2, {10000, 10000}},
    {15050, 1, {15050}},                      // one installment takes everything
    {5, 2, {3, 2}},                           // half a cent goes up
    {21, 6, {4, 4, 4, 4, 4, 1}},              // 0,035 is a half cent: up, although 0.21 / 6 is 0.0349999... as a double
    {57, 6, {10, 10, 10, 10, 10, 7}},         // 0,095 likewise
    {85, 10, {9, 9, 9, 9, 9, 9, 9, 9, 9, 4}},  // 0,085 likewise
    {5, 4, {1, 1, 1, 2}},                     // rounding up would leave the last empty: down instead
    {2, 2, {1, 1}},
    {0, 3, {0, 0, 0}},
    {1000, 0, {}},                            // no installments
    {1000, -2, {}},
};

TEST(SplitAmount, SharesAndRemainders) {
  for (const Split& row : kSplits)
    EXPECT_EQ(SplitAmount(row.total, row.count), row.parts) << row.total << " in " << row.count;
}

TEST(SplitAmount, EveryPartAboveZeroAndTheSumIsTheTotal) {
  // 5,50 in 99: a share of 0,06 would leave the last at -0,38.
  const std::vector<Cents> small = SplitAmount(550, 99);
  ASSERT_EQ(small.size(), 99u);
  EXPECT_EQ(small.front(), 5);
  EXPECT_EQ(small.back(), 60);
  for (Cents total : {Cents{1}, Cents{98}, Cents{550}, Cents{1000}, Cents{9999}, Cents{123457}, Cents{99999999},
                      Cents{123456705}, kMaxAmountCents}) {
    for (int count : {1, 2, 3, 6, 7, 12, 55, 98, 99}) {
      if (total < count) continue;  // fewer cents than installments: no split gives each a cent
      const std::vector<Cents> parts = SplitAmount(total, count);
      const std::string row = std::to_string(total) + " in " + std::to_string(count);
      ASSERT_EQ(parts.size(), static_cast<std::size_t>(count)) << row;
      EXPECT_EQ(std::accumulate(parts.begin(), parts.end(), Cents{0}), total) << row;
      for (Cents part : parts) EXPECT_GT(part, 0) << row;
      // All but the last are the same share, the one rounded to the cent.
      for (std::size_t i = 0; i + 1 < parts.size(); ++i) EXPECT_EQ(parts[i], parts[0]) << row;
      const Cents rounded = DivideRounded(total, count);
      EXPECT_TRUE(parts[0] == rounded || parts[0] == total / count) << row;
    }
  }
}

}  // namespace
