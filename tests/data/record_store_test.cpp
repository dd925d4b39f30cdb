#include <gtest/gtest.h>

#include <string>

#include "data/record_store.h"

namespace {

// A store of one text field, one fixed text field and one number field.
struct Store : ::testing::Test {
  RecordStore store;
  void SetUp() override { store.Reset({FieldType::String, FieldType::FixedString, FieldType::Float}); }
  RecordStore::Id Load(std::string_view text, std::string_view fixed, std::size_t pad, double number) {
    store.AppendText(0, text);
    store.AppendText(1, fixed, pad);
    store.AppendNumber(2, number);
    store.Seal();
    return store.Order().back();
  }
};

}  // namespace

TEST_F(Store, LoadedTextsReadBackWithTheirPaddingAndNulls) {
  Load("Ana", "A", 2, 1.5);
  store.AppendNull(0);
  store.AppendText(1, "", 0);
  store.AppendNull(2);
  store.Seal();
  Load("Zé da Silva Comércio e Indústria Ltda", "BCD", 0, 3);
  ASSERT_EQ(store.LiveCount(), 3u);
  EXPECT_EQ(store.Text(0, 0), "Ana");
  EXPECT_EQ(store.Text(0, 1), "A  ");
  EXPECT_TRUE(store.IsNull(1, 0));
  EXPECT_EQ(store.Text(1, 0), "");
  EXPECT_FALSE(store.IsNull(1, 1));
  EXPECT_TRUE(store.IsNull(1, 2));
  EXPECT_EQ(store.Text(2, 0), "Zé da Silva Comércio e Indústria Ltda");
  EXPECT_EQ(store.Value(2, 0), Variant("Zé da Silva Comércio e Indústria Ltda"));
  EXPECT_EQ(store.Value(2, 2), Variant(3.0));
}

TEST_F(Store, ReplacingAndRemovingLeaveTheOtherRecordsIntact) {
  Load("primeiro", "X", 0, 1);
  Load("segundo", "Y", 0, 2);
  Load("terceiro", "Z", 0, 3);
  store.Replace(1, {Variant("segundo, agora bem mais comprido"), Variant("W"), Variant(20.0)});
  store.Remove(0);
  EXPECT_EQ(store.Order(), (std::vector<RecordStore::Id>{1, 2}));
  EXPECT_EQ(store.Text(1, 0), "segundo, agora bem mais comprido");
  EXPECT_EQ(store.Text(2, 0), "terceiro");
  EXPECT_EQ(store.Text(2, 1), "Z");
  EXPECT_TRUE(store.IsNull(0, 0));
  RecordStore::Id added = store.Add({Variant("quarto"), Variant(), Variant(4.0)});
  EXPECT_EQ(store.Text(added, 0), "quarto");
  EXPECT_TRUE(store.IsNull(added, 1));
}

// Editing the same record over and over must neither lose texts nor let the
// column's block grow with every edit.
TEST_F(Store, RepeatedEditsKeepEveryTextAndCompactTheColumn) {
  for (int i = 0; i < 50; ++i) Load("registro " + std::to_string(i), "F", 0, i);
  const std::string wide(200, 'x');
  for (int round = 0; round < 2000; ++round)
    store.Replace(7, {Variant(wide + std::to_string(round)), Variant("G"), Variant(7.0)});
  EXPECT_EQ(store.Text(7, 0), wide + "1999");
  for (RecordStore::Id id = 0; id < 50; ++id) {
    if (id != 7) {
      EXPECT_EQ(store.Text(id, 0), "registro " + std::to_string(id)) << id;
    }
  }
  EXPECT_EQ(store.Text(7, 1), "G");
  // Two thousand edits of over 200 bytes each, kept whole, would be 400 kB.
  EXPECT_LT(store.TextBytes(0), 16u * 1024u);
}
