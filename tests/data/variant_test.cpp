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

#include <string>
#include <utility>

#include "data/packet.h"

namespace {

// Texts on either side of the length a value holds in itself, and the other
// kinds that own memory, so every way of storing a value is crossed.
std::vector<Variant> Samples() {
  DataPacket packet({{"NOME", FieldType::String, 40}});
  packet.addRow({Variant(std::string(40, 'p'))});
  return {Variant(),
          Variant(""),
          Variant(std::string(30, 'a')),
          Variant(std::string(31, 'b')),
          Variant(std::string(200, 'c') + "ção"),
          Variant(std::int64_t{-7}),
          Variant(2.5),
          Variant(DateTime{45000.25}),
          Variant(true),
          MakeArray({Variant(std::string(31, 'x')), MakeArray({1, "curto"}), Variant()}),
          Variant(std::move(packet))};
}

}  // namespace

TEST(VariantTest, CopiesMovesAndAssignmentsKeepEveryKindOfValueIntact) {
  const std::vector<Variant> samples = Samples();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    SCOPED_TRACE(i);
    const Variant& original = samples[i];
    Variant copy(original);
    EXPECT_EQ(copy, original);
    Variant moved(std::move(copy));
    EXPECT_EQ(moved, original);
    EXPECT_TRUE(copy.isNull());  // a moved-from value is left empty, not sharing the block

    // Every kind assigned over every other, by copy and by move.
    for (const Variant& other : samples) {
      Variant target(other);
      target = original;
      EXPECT_EQ(target, original);
      Variant source(original);
      target = other;
      target = std::move(source);
      EXPECT_EQ(target, original);
    }
    Variant self(original);
    const Variant& alias = self;
    self = alias;
    EXPECT_EQ(self, original);
  }
  EXPECT_EQ(samples[3].textView(), std::string(31, 'b'));
  EXPECT_EQ(samples[4].asText(), std::string(200, 'c') + "ção");
  EXPECT_NE(samples[2], samples[3]);
  EXPECT_NE(Variant(2.5), Variant(DateTime{2.5}));  // same bits, different kinds
}

// A value replaced by one of its own elements must take the element before
// letting go of the array that holds it.
TEST(VariantTest, TakesAnElementOfItsOwnArray) {
  Variant nested = MakeArray({Variant(std::string(50, 'n')), 2});
  nested = std::move(nested.asArray()[0]);
  EXPECT_EQ(nested.textView(), std::string(50, 'n'));

  Variant copied = MakeArray({MakeArray({Variant(std::string(40, 'k'))})});
  copied = copied.asArray()[0];
  ASSERT_TRUE(copied.isArray());
  EXPECT_EQ(copied[0].textView(), std::string(40, 'k'));
}

TEST(VariantTest, AnEmptyViewWithoutDataIsTheEmptyText) {
  // A NULL column read as a view has no data pointer at all.
  const Variant empty{std::string_view()};
  EXPECT_TRUE(empty.isText());
  EXPECT_EQ(empty.asText(), "");
  EXPECT_EQ(empty, Variant(""));
}

// Every length a text can have in the value itself, and the first few that
// take a block of their own, reads back byte for byte.
TEST(VariantTest, TextsOfEveryShortLengthReadBackIntact) {
  std::string source;
  for (int i = 0; i < 40; ++i) source.push_back(static_cast<char>('A' + i));
  for (std::size_t n = 0; n <= source.size(); ++n) {
    const std::string text = source.substr(0, n);
    const Variant v(text);
    EXPECT_EQ(v.textView(), text) << n;
    EXPECT_EQ(Variant(v).textView(), text) << n;
  }
}
