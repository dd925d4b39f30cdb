// Which anonymous connection makes room for a newcomer.

#include <gtest/gtest.h>

#include "net/anonymous_roster.h"

namespace {

TEST(AnonymousRoster, TheOldestOfTheBusiestAddressMakesRoom) {
  AnonymousRoster<int> roster;
  roster.add(1, "10.0.0.1");
  roster.add(2, "10.0.0.2");
  roster.add(3, "10.0.0.2");
  roster.add(4, "10.0.0.3");
  const auto any = [](int) { return true; };
  EXPECT_EQ(roster.size(), 4u);
  EXPECT_EQ(roster.countOf("10.0.0.2"), 2u);
  EXPECT_EQ(roster.displaceable(any), 2) << "10.0.0.2 holds the most";
  EXPECT_EQ(roster.displaceable(any, "10.0.0.3"), 4) << "of one address";
  EXPECT_EQ(roster.displaceable([](int h) { return h != 2; }), 3) << "one being checked is skipped";
  EXPECT_EQ(roster.displaceable(any, "10.0.0.9"), std::nullopt);
  roster.remove(2, "10.0.0.2");
  roster.remove(3, "10.0.0.2");
  roster.remove(3, "10.0.0.2");  // twice: nothing
  EXPECT_EQ(roster.size(), 2u);
  EXPECT_EQ(roster.countOf("10.0.0.2"), 0u);
  EXPECT_EQ(roster.displaceable(any), 1) << "a tie: the oldest";
  EXPECT_EQ(roster.displaceable([](int) { return false; }), std::nullopt);
}

}  // namespace
