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
  EXPECT_FALSE(store.IsNull(2, 0));
  EXPECT_FALSE(store.IsNull(2, 2));
}

// Cells that are not null are appended without marking them, so a null
// anywhere in a long load, and none after it, must still read back.
TEST_F(Store, NullsAnywhereInALongLoadReadBackWhereTheyWere) {
  const auto isNull = [](std::size_t row, std::size_t field) { return (row + field) % 7 == 0 || row == 40 + field; };
  constexpr std::size_t kRows = 300;
  for (std::size_t r = 0; r < kRows; ++r) {
    if (isNull(r, 0)) store.AppendNull(0);
    else store.AppendText(0, std::to_string(r));
    if (isNull(r, 1)) store.AppendNull(1);
    else store.AppendText(1, "F", 2);
    if (isNull(r, 2) || r >= kRows - 1) store.AppendNull(2);
    else store.AppendNumber(2, static_cast<double>(r));
  }
  store.Seal();
  const RecordStore::Id added = store.Add({Variant("depois"), Variant(), Variant(1.0)});
  for (std::size_t r = 0; r < kRows; ++r) {
    const auto id = static_cast<RecordStore::Id>(r);
    EXPECT_EQ(store.IsNull(id, 0), isNull(r, 0)) << r;
    EXPECT_EQ(store.IsNull(id, 1), isNull(r, 1)) << r;
    EXPECT_EQ(store.IsNull(id, 2), isNull(r, 2) || r >= kRows - 1) << r;
    EXPECT_EQ(store.Text(id, 0), isNull(r, 0) ? "" : std::to_string(r)) << r;
  }
  EXPECT_FALSE(store.IsNull(added, 0));
  EXPECT_TRUE(store.IsNull(added, 1));
  EXPECT_FALSE(store.IsNull(added, 2));
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

// Texts end where the next record's start: records added after an edit, and
// edits of neighbours, must not change what any other record reads.
TEST_F(Store, RecordsAddedAfterEditsReadTheirOwnTexts) {
  Load("um", "A", 0, 1);
  Load("dois", "B", 0, 2);
  store.Replace(0, {Variant("um, editado"), Variant("C"), Variant(1.0)});
  const RecordStore::Id tres = store.Add({Variant("tres"), Variant(), Variant(3.0)});
  const RecordStore::Id quatro = store.Add({Variant(), Variant("D"), Variant(4.0)});
  store.Replace(tres, {Variant(), Variant("E"), Variant(3.0)});
  const RecordStore::Id cinco = store.Add({Variant("cinco"), Variant("F"), Variant(5.0)});
  const std::vector<std::pair<RecordStore::Id, std::string>> expected = {
      {0, "um, editado"}, {1, "dois"}, {tres, ""}, {quatro, ""}, {cinco, "cinco"}};
  for (const auto& [id, text] : expected) EXPECT_EQ(store.Text(id, 0), text) << id;
  EXPECT_TRUE(store.IsNull(tres, 0));
  EXPECT_EQ(store.Text(tres, 1), "E");
  EXPECT_EQ(store.Text(quatro, 1), "D");
}

// Many records edited once each: the table of moved texts is folded back.
TEST_F(Store, EditingEveryRecordKeepsEveryText) {
  for (int i = 0; i < 2000; ++i) Load("r" + std::to_string(i), "X", 0, i);
  for (int i = 0; i < 2000; i += 2) store.Replace(static_cast<RecordStore::Id>(i), {Variant("novo " + std::to_string(i)), Variant("Y"), Variant(0.0)});
  for (int i = 0; i < 2000; ++i)
    ASSERT_EQ(store.Text(static_cast<RecordStore::Id>(i), 0), (i % 2 ? "r" : "novo ") + std::to_string(i)) << i;
}

TEST_F(Store, CopiedColumnsAndPaddedTextsReadBackPadded) {
  Load("Ana", "A", 0, 1);
  Load("Zé", "ÇÃ", 0, 2);
  store.AppendNull(0);
  store.AppendNull(1);
  store.AppendNull(2);
  store.Seal();
  RecordStore copy;
  copy.CopyColumns(store, {1, 2});
  ASSERT_EQ(copy.FieldCount(), 2u);
  EXPECT_EQ(copy.Order(), store.Order());
  copy.PadTexts(0, 3);
  EXPECT_EQ(copy.Text(0, 0), "A  ");
  EXPECT_EQ(copy.Text(1, 0), "ÇÃ ");  // characters, not bytes
  EXPECT_TRUE(copy.IsNull(2, 0));
  EXPECT_EQ(copy.Text(2, 0), "");
  EXPECT_EQ(copy.Number(1, 1), 2.0);
  EXPECT_EQ(store.Text(0, 1), "A");  // the original is left as it was
}
