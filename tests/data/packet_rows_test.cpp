#include <gtest/gtest.h>

#include <string>

#include "data/packet_rows.h"

namespace {

PacketRows::Row RowOf(std::size_t i, std::size_t width) {
  PacketRows::Row row;
  for (std::size_t c = 0; c < width; ++c) row.push_back(Variant("r" + std::to_string(i) + "c" + std::to_string(c)));
  return row;
}

// Widths on both sides of a block's size, so rows cross from block to block.
TEST(PacketRows, KeepsEveryRowAcrossBlocks) {
  for (std::size_t width : {1u, 3u, 19u, 2047u, 2048u, 3000u}) {
    PacketRows rows;
    const std::size_t count = 5000 / width + 3;
    for (std::size_t i = 0; i < count; ++i) rows.push_back(RowOf(i, width));
    ASSERT_EQ(rows.size(), count) << width;
    EXPECT_EQ(rows.width(), width);
    std::size_t seen = 0;
    for (PacketRows::ConstRowRef row : rows) {
      ASSERT_EQ(row.size(), width);
      EXPECT_EQ(row[width - 1], Variant("r" + std::to_string(seen) + "c" + std::to_string(width - 1)));
      ++seen;
    }
    EXPECT_EQ(seen, count);
    PacketRows copy = rows;
    EXPECT_EQ(copy, rows);
    copy.push_back(RowOf(count, width));  // a copy's blocks grow too
    EXPECT_EQ(copy.back()[0], Variant("r" + std::to_string(count) + "c0"));
    copy.pop_back();
    EXPECT_EQ(copy, rows) << width;
    copy.at(count - 1)[0] = Variant("changed");
    EXPECT_FALSE(copy == rows);
  }
}

TEST(PacketRows, RefusesARowOfAnotherWidth) {
  PacketRows rows;
  rows.push_back(RowOf(0, 2));
  EXPECT_THROW(rows.push_back(RowOf(1, 3)), std::invalid_argument);
  EXPECT_THROW(rows.push_back(RowOf(1, 1)), std::invalid_argument);
  EXPECT_EQ(rows.size(), 1u);
  EXPECT_THROW((void)rows.at(1), std::out_of_range);

  // Cell by cell: a row too wide or too narrow is dropped, the rows before it kept.
  rows.StartRow();
  EXPECT_TRUE(rows.AddCell("a"));
  EXPECT_TRUE(rows.AddCell("b"));
  EXPECT_FALSE(rows.AddCell("c"));
  rows.StartRow();
  EXPECT_TRUE(rows.AddCell("a"));
  EXPECT_FALSE(rows.EndRow());
  rows.push_back(RowOf(1, 2));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][0], Variant("r1c0"));

  // Emptied, the rows take any width again.
  rows.clear();
  EXPECT_TRUE(rows.empty());
  rows.push_back(RowOf(0, 5));
  EXPECT_EQ(rows.width(), 5u);
}

TEST(PacketRows, CountsRowsWithoutCells) {
  PacketRows rows;
  rows.push_back({});
  rows.push_back({});
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[1].empty());
  EXPECT_THROW(rows.push_back(RowOf(0, 1)), std::invalid_argument);
  PacketRows other;
  other.push_back({});
  EXPECT_FALSE(rows == other);
  rows.pop_back();
  EXPECT_EQ(rows, other);
}

}  // namespace
