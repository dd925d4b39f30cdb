// Codes, packet cells, registration numbers, dates and password digests.

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

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

// The rows come in the order SQLite's own ORDER BY gives them, whatever the
// keys hold: one key a prefix of another, equal first keys, bytes above 0x7F,
// zero bytes, empty keys.
TEST(PacketBuilderTest, OrdersRowsByTheTrailingKeysAsSqliteDoes) {
  Database db(":memory:");
  db.exec("CREATE TABLE T (NAME TEXT, K1 TEXT, K2 TEXT)");
  const char* rows[][3] = {
      {"a", "01", "ab"},  {"b", "01", "abc"},    {"c", "01", "a"},     {"d", "0", "zz"},
      {"e", "01", ""},    {"f", "02", "A"},      {"g", "01", "Ábaco"}, {"h", "01", "Zeca"},
      {"i", "", "x"},     {"j", "010", ""},      {"k", "01", "ab "},   {"l", "01", "abc\x7f"},
  };
  for (const auto& r : rows) {
    Statement insert = db.prepare("INSERT INTO T VALUES (?1, ?2, ?3)");
    insert.bindAll(r[0], r[1], r[2]);
    insert.run();
  }
  // Zero bytes inside a key, where a plain separator would mislead.
  db.exec("INSERT INTO T VALUES ('m', '01' || char(0), 'a'), ('n', '01', char(0) || 'b'),"
          " ('o', '01' || char(0) || char(0), ''), ('p', '01', char(0))");

  Statement theirs = db.prepare("SELECT NAME FROM T ORDER BY CAST(K1 AS BLOB), CAST(K2 AS BLOB)");
  std::vector<std::string> expected;
  while (theirs.step()) expected.push_back(theirs.text(0));
  ASSERT_EQ(expected.size(), std::size(rows) + 4);

  // The keys after the shape's columns, or among them: then they sort as
  // stored, not as cut or padded for the cells.
  const struct {
    const char* what;
    PacketShape shape;
  } cases[] = {
      {"keys after the fields", {{"NAME", FieldType::String, 5}}},
      {"keys among the fields",
       {{"NAME", FieldType::String, 5}, {"K1", FieldType::String, 1}, {"K2", FieldType::FixedString, 2}}},
  };
  for (const auto& c : cases) {
    Statement ours = db.prepare("SELECT NAME, CAST(K1 AS BLOB), CAST(K2 AS BLOB) FROM T");
    const DataPacket packet = QueryPacketOrdered(ours, c.shape, {1, 2});
    std::vector<std::string> got;
    for (PacketRows::ConstRowRef row : packet.rows) got.push_back(row[0].asText());
    EXPECT_EQ(got, expected) << c.what;
  }
}

TEST(PacketBuilderTest, RefusesKeysTheQueryDoesNotHave) {
  Database db(":memory:");
  const PacketShape shape{{"NAME", FieldType::String, 5}, {"VALUE", FieldType::Float, 0}};
  for (const std::vector<int>& keys : {std::vector<int>{2}, std::vector<int>{-1}, std::vector<int>{1}}) {
    Statement st = db.prepare("SELECT 'a', 1.5");
    EXPECT_THROW(QueryPacketOrdered(st, shape, keys), std::logic_error) << keys[0];
  }
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
