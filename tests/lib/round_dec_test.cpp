#include <gtest/gtest.h>

#include <cmath>

#include "lib/consiste.h"

TEST(RoundDec, HalvesGoAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(RoundDec(1.005, 2), 1.01);
  EXPECT_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_EQ(RoundDec(-1.005, 2), -1.01);
  EXPECT_EQ(RoundDec(0.125, 2), 0.13);
  EXPECT_EQ(RoundDec(1.004999, 2), 1.0);
}

TEST(RoundDec, CarriesAcrossNines) {
  EXPECT_EQ(RoundDec(9.995, 2), 10.0);
  EXPECT_EQ(RoundDec(-99.999, 2), -100.0);
  EXPECT_EQ(RoundDec(0.5, 0), 1.0);
}

TEST(RoundDec, LeavesShorterValuesAlone) {
  EXPECT_EQ(RoundDec(1234567.5, 2), 1234567.5);
  EXPECT_EQ(RoundDec(0.0, 2), 0.0);
  EXPECT_EQ(RoundDec(100.0, 2), 100.0);
  EXPECT_FALSE(std::signbit(RoundDec(-0.001, 2)));
  EXPECT_TRUE(std::isnan(RoundDec(NAN, 2)));
}
