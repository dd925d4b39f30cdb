// Codes, packet cells, registration numbers, dates and password digests.

#include <gtest/gtest.h>

#include "demo/calendar.h"
#include "demo/registration.h"
#include "methods/key_codes.h"
#include "methods/packet_builder.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

TEST(KeyCodeTest, WidensDigitsTrimsAndUpperCases) {
  EXPECT_EQ(KeyCode("1", kBranchWidth), "0001");
  EXPECT_EQ(KeyCode(" 101 ", kBudgetWidth), "0000000101");
  EXPECT_EQ(KeyCode("00001", kBranchWidth), "0001");
  EXPECT_EQ(KeyCode("12345", kBranchWidth), "12345");  // never cut into another code
  EXPECT_EQ(KeyCode("ab1", kBranchWidth), "AB1");
  EXPECT_EQ(KeyCode("   ", kBranchWidth), "");
  EXPECT_EQ(KeyCode("0042", 0), "0042");
}

TEST(KeyCodeTest, SequenceArgumentNamesTheFirstSequenceWhenEmptyOrLiteral) {
  EXPECT_FALSE(SequenceArg("").has_value());
  EXPECT_FALSE(SequenceArg("seq").has_value());
  EXPECT_EQ(SequenceArg("1").value(), "01");
  EXPECT_EQ(RegistrationDigits("123.456.789-09"), "12345678909");
}

TEST(PacketBuilderTest, CutsAndPadsTextsByCharacters) {
  EXPECT_EQ(CutToChars("Conceição", 7), "Conceiç");
  EXPECT_EQ(CutToChars("abc", 5), "abc");

  Database db(":memory:");
  Statement st = db.prepare("SELECT 'ção', 'x', NULL, NULL, 1.5");
  ASSERT_TRUE(st.step());
  EXPECT_EQ(CellValue(st, 0, {"F", FieldType::FixedString, 5}).asText(), "ção  ");
  EXPECT_EQ(CellValue(st, 1, {"F", FieldType::String, 1}).asText(), "x");
  EXPECT_EQ(CellValue(st, 2, {"F", FieldType::String, 10}), Variant(""));
  EXPECT_TRUE(CellValue(st, 3, {"F", FieldType::DateTime, 0}).isNull());
  EXPECT_DOUBLE_EQ(CellValue(st, 4, {"F", FieldType::Float, 0}).asDouble(), 1.5);
}

TEST(PacketBuilderTest, RefusesAQueryThatDoesNotMatchTheShape) {
  Database db(":memory:");
  Statement st = db.prepare("SELECT 1, 2");
  EXPECT_THROW(QueryPacket(st, CompanyShape()), std::logic_error);
}

TEST(RegistrationTest, ComputesCheckDigits) {
  EXPECT_EQ(MakeCpf("111444777"), "11144477735");
  EXPECT_EQ(MakeCnpj("112223330001"), "11222333000181");
}

TEST(CalendarTest, CountsDaysFromTheDelphiEpoch) {
  EXPECT_DOUBLE_EQ(DateDays(1899, 12, 31), 1.0);
  EXPECT_DOUBLE_EQ(DateDays(2000, 1, 1), 36526.0);
  EXPECT_DOUBLE_EQ(AddMonths(2026, 1, 31, 1), DateDays(2026, 2, 28));
  EXPECT_DOUBLE_EQ(AddMonths(2026, 12, 8, 2), DateDays(2027, 2, 8));
}

}  // namespace
