#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data/variant.h"

// Whole numbers arrive as doubles from the wire; only those an int64 holds
// read as integers, the rest are refused instead of converted out of range.
TEST(VariantTest, AsIntTakesWholeNumbersInRangeAndRefusesTheRest) {
  EXPECT_EQ(Variant(42.0).asInt(), 42);
  EXPECT_EQ(Variant(-9223372036854775808.0).asInt(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(Variant("17").asInt(), 17);
  EXPECT_THROW(Variant(1.5).asInt(), std::runtime_error);
  EXPECT_THROW(Variant(1e300).asInt(), std::runtime_error);
  EXPECT_THROW(Variant(-1e300).asInt(), std::runtime_error);
  EXPECT_THROW(Variant(9223372036854775808.0).asInt(), std::runtime_error);
  EXPECT_THROW(Variant(std::numeric_limits<double>::infinity()).asInt(), std::runtime_error);
  EXPECT_THROW(Variant(std::nan("")).asInt(), std::runtime_error);
  EXPECT_THROW(Variant("1e300").asInt(), std::runtime_error);
}
