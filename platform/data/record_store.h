#pragma once
// The records of an in-memory dataset, one typed column per field (texts as
// strings, numbers, dates and flags as doubles) so that reading, sorting and
// searching a column touch only its own values. Records keep their id for
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
  std::string_view Text(Id id, std::size_t field) const { return columns_[field].texts[id]; }
  // Value of a number, date or flag cell (0 when null).
  double Number(Id id, std::size_t field) const { return columns_[field].numbers[id]; }
  Variant Value(Id id, std::size_t field) const;
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
  void AppendText(std::size_t field, std::string&& text);
  void AppendNumber(std::size_t field, double number);
  void Seal();

  const std::vector<Id>& Order() const { return order_; }
  std::vector<Id>& Order() { return order_; }
  std::size_t LiveCount() const { return order_.size(); }

 private:
  struct Column {
    FieldType type;
    bool isText;
    std::vector<std::string> texts;
    std::vector<double> numbers;
    std::vector<std::uint8_t> nulls;
  };
  void SetCell(Column& c, Id id, const Variant& value);

  std::vector<Column> columns_;
  std::vector<Id> order_;
  std::size_t ids_ = 0;
};
