#pragma once
// The records of an in-memory dataset, one typed column per field (texts
// packed back to back in one block per column, numbers, dates and flags as
// doubles) so that reading, sorting and searching a column touch only its own
// values and loading a large packet costs a few allocations, not one per cell. Records keep their id for
// life; `Order()` lists the live ones in the order they were loaded or
// added, which is the order the content reads back in.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/packet.h"
#include "data/variant.h"

class RecordStore {
 public:
  using Id = std::uint32_t;
  using Row = std::vector<Variant>;

  void Reset(const std::vector<FieldType>& types, std::size_t capacity = 0);
  std::size_t FieldCount() const { return columns_.size(); }
  FieldType Type(std::size_t field) const { return columns_[field].type; }

  bool IsNull(Id id, std::size_t field) const { return columns_[field].nulls[id] != 0; }
  // Text of a text field's cell ("" when null).
  // Valid until the store next changes.
  std::string_view Text(Id id, std::size_t field) const {
    const Column& c = columns_[field];
    const TextRef r = c.texts[id];
    return {c.chars.data() + r.offset, r.length};
  }
  // Value of a number, date or flag cell (0 when null).
  double Number(Id id, std::size_t field) const { return columns_[field].numbers[id]; }
  Variant Value(Id id, std::size_t field) const;
  // Bytes a text field's block holds, its replaced texts' included.
  std::size_t TextBytes(std::size_t field) const { return columns_[field].chars.size(); }
  Row RowOf(Id id) const;

  // Adds a record of values already brought to the fields' types; it is not
  // yet placed in the order.
  Id Add(const Row& row);
  void Replace(Id id, const Row& row);
  // Frees a record's values; its id leaves the order.
  void Remove(Id id);

  // Bulk load: each record's cells appended field by field, then `Seal()`.
  void AppendCell(std::size_t field, const Variant& value);
  void AppendNull(std::size_t field);
  // A text cell, followed by `padBlanks` blanks.
  void AppendText(std::size_t field, std::string_view text, std::size_t padBlanks = 0) {
    Column& c = columns_[field];
    c.nulls.push_back(false);
    c.texts.push_back(Store(c, text, padBlanks));
  }
  void AppendNumber(std::size_t field, double number) {
    Column& c = columns_[field];
    c.nulls.push_back(false);
    c.numbers.push_back(number);
  }
  // Room for `bytes` more characters in a text field's block, so that a bulk
  // load neither grows it step by step nor trims it at the end.
  void ReserveText(std::size_t field, std::size_t bytes);
  void Seal();

  const std::vector<Id>& Order() const { return order_; }
  std::vector<Id>& Order() { return order_; }
  std::size_t LiveCount() const { return order_.size(); }

 private:
  // Where a text cell's bytes sit in its column's `chars`.
  struct TextRef {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
  };
  struct Column {
    FieldType type;
    bool isText;
    std::vector<TextRef> texts;
    // The column's texts back to back. A replaced or removed text leaves its
    // bytes behind (counted in `garbage`) until the column is compacted.
    std::string chars;
    std::size_t garbage = 0;
    std::vector<double> numbers;
    std::vector<bool> nulls;  // one bit a cell
  };
  void SetCell(Column& c, Id id, const Variant& value);
  static TextRef Store(Column& c, std::string_view text, std::size_t padBlanks = 0) {
    const std::size_t at = c.chars.size(), length = text.size() + padBlanks;
    if (length > kMaxTextBytes - at) return StoreAfterCompacting(c, text, padBlanks);
    c.chars.append(text);
    if (padBlanks) c.chars.append(padBlanks, ' ');
    return {static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(length)};
  }
  // Store() for a block that would pass its offsets' limit.
  static TextRef StoreAfterCompacting(Column& c, std::string_view text, std::size_t padBlanks);
  static constexpr std::size_t kMaxTextBytes = UINT32_MAX;
  static void Discard(Column& c, Id id);
  static void Compact(Column& c);

  std::vector<Column> columns_;
  std::vector<Id> order_;
  std::size_t ids_ = 0;
};
