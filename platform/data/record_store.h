#pragma once
// The records of an in-memory dataset, one typed column per field (texts
// packed back to back in one block per column, numbers, dates and flags as
// doubles) so that reading, sorting and searching a column touch only its own
// values and loading a large packet costs a few allocations, not one per cell. Records keep their id for
// life; `Order()` lists the live ones in the order they were loaded or
// added, which is the order the content reads back in.
//
// A text cell costs four bytes besides its characters: texts are placed in
// the order of the records' ids, so where one ends is where the next one
// starts. A text replaced after it was placed moves past them and is found
// through a small table of moved cells until the column is compacted.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/packet.h"
#include "data/text_block.h"
#include "data/variant.h"

class RecordStore {
 public:
  using Id = std::uint32_t;
  using Row = std::vector<Variant>;

  void Reset(const std::vector<FieldType>& types, std::size_t capacity = 0);
  std::size_t FieldCount() const { return columns_.size(); }
  FieldType Type(std::size_t field) const { return columns_[field].type; }
  // The field keeps texts (Text) rather than numbers (Number).
  bool HoldsText(std::size_t field) const { return columns_[field].isText; }

  bool IsNull(Id id, std::size_t field) const { return columns_[field].nulls[id] != 0; }
  // Text of a text field's cell ("" when null).
  // Valid until the store next changes.
  std::string_view Text(Id id, std::size_t field) const { return TextOf(columns_[field], id); }
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
    Place(columns_[field], text, padBlanks);
  }
  void AppendNumber(std::size_t field, double number) {
    columns_[field].numbers.push_back(number);
  }
  // Room for `bytes` more characters in a text field's block, so that a bulk
  // load neither grows it step by step nor trims it at the end.
  void ReserveText(std::size_t field, std::size_t bytes);
  void Seal();

  // Becomes a copy of `from`'s columns `fields` (in that order), records and order included.
  void CopyColumns(const RecordStore& from, const std::vector<std::size_t>& fields);
  // The same, moving the columns out of `from` (each of `fields` named once),
  // which is left empty.
  void TakeColumns(RecordStore&& from, const std::vector<std::size_t>& fields);
  // Pads a text field's texts with blanks to `chars` characters, as a
  // fixed-length field keeps them.
  void PadTexts(std::size_t field, std::size_t chars);

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
    // Where each record's text starts in `chars`; it ends where the next
    // record's starts, the last one's at `placedEnd`.
    std::vector<std::uint32_t> starts;
    std::uint32_t placedEnd = 0;
    // Texts replaced since the column was last compacted, stored past the
    // placed ones (a null one as empty).
    std::unordered_map<Id, TextRef> moved;
    // The column's texts back to back. A replaced or removed text leaves its
    // bytes behind (counted in `garbage`) until the column is compacted.
    TextBlock chars;
    std::size_t garbage = 0;
    std::vector<double> numbers;
    // One bit a cell. Appending a cell that is not null leaves it alone, so
    // while a bulk load appends it ends at the last null cell (a cell past
    // its end is not null); Seal() and Add() size it.
    std::vector<bool> nulls;
  };
  static std::size_t CellCount(const Column& c) { return c.isText ? c.starts.size() : c.numbers.size(); }
  // The cell about to be appended to `c` is null.
  static void MarkNextNull(Column& c) {
    if (const std::size_t at = CellCount(c); c.nulls.size() < at) c.nulls.resize(at);
    c.nulls.push_back(true);
  }
  static std::string_view TextOf(const Column& c, Id id) {
    if (!c.moved.empty()) {
      if (auto it = c.moved.find(id); it != c.moved.end()) return {c.chars.data() + it->second.offset, it->second.length};
    }
    const std::uint32_t begin = c.starts[id], end = id + 1 < c.starts.size() ? c.starts[id + 1] : c.placedEnd;
    return {c.chars.data() + begin, end - begin};
  }
  // Adds the next record's text (null: empty) to a text column.
  static void Place(Column& c, std::string_view text, std::size_t padBlanks = 0) {
    MakeRoom(c, text.size() + padBlanks);
    const Id id = static_cast<Id>(c.starts.size());
    c.starts.push_back(c.placedEnd);
    const TextRef r = Append(c, text, padBlanks);
    if (r.offset == c.placedEnd) c.placedEnd += r.length;
    else c.moved[id] = r;  // moved texts follow the placed ones: this one joins them
  }
  void SetCell(Column& c, Id id, const Variant& value);
  // Appends a text to the column's block, which must have room for it.
  static TextRef Append(Column& c, std::string_view text, std::size_t padBlanks) {
    const std::size_t at = c.chars.size();
    c.chars.append(text);
    if (padBlanks) c.chars.append(padBlanks, ' ');
    return {static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(text.size() + padBlanks)};
  }
  // Room for `length` more bytes within the offsets' limit, compacting the
  // column when that finds it; throws when nothing does.
  static void MakeRoom(Column& c, std::size_t length) {
    if (length > kMaxTextBytes - c.chars.size()) MakeRoomByCompacting(c, length);
  }
  static void MakeRoomByCompacting(Column& c, std::size_t length);
  static constexpr std::size_t kMaxTextBytes = UINT32_MAX;
  static void Discard(Column& c, Id id);
  static void Compact(Column& c);

  std::vector<Column> columns_;
  std::vector<Id> order_;
  std::size_t ids_ = 0;
};
