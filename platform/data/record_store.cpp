#include "record_store.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "data/exceptions.h"
#include "data/text_compare.h"

void RecordStore::Reset(const std::vector<FieldType>& types, std::size_t capacity) {
  columns_.clear();
  for (FieldType t : types) {
    Column c{t, t == FieldType::String || t == FieldType::FixedString, {}, 0, {}, {}, 0, {}, {}};
    (c.isText ? c.starts.reserve(capacity) : c.numbers.reserve(capacity));
    c.nulls.reserve(capacity);
    columns_.push_back(std::move(c));
  }
  order_.clear();
  order_.reserve(capacity);
  ids_ = 0;
}

Variant RecordStore::Value(Id id, std::size_t field) const {
  const Column& c = columns_[field];
  if (c.nulls[id]) return Variant();
  if (c.isText) return Variant(std::string(Text(id, field)));
  double n = c.numbers[id];
  switch (c.type) {
    case FieldType::Integer: return Variant(static_cast<std::int64_t>(n));
    case FieldType::DateTime: return Variant(DateTime{n});
    case FieldType::Boolean: return Variant(n != 0);
    default: return Variant(n);
  }
}

RecordStore::Row RecordStore::RowOf(Id id) const {
  Row row;
  row.reserve(columns_.size());
  for (std::size_t f = 0; f < columns_.size(); ++f) row.push_back(Value(id, f));
  return row;
}

void RecordStore::AppendCell(std::size_t field, const Variant& value) {
  Column& c = columns_[field];
  bool null = value.isNull();
  if (null) MarkNextNull(c);
  if (c.isText) {
    Place(c, null ? std::string_view() : std::string_view(value.asText()));
  } else if (null) {
    c.numbers.push_back(0.0);
  } else if (c.type == FieldType::Boolean) {
    c.numbers.push_back(value.asBool() ? 1.0 : 0.0);
  } else {
    c.numbers.push_back(value.asDouble());
  }
}

void RecordStore::AppendNull(std::size_t field) {
  Column& c = columns_[field];
  MarkNextNull(c);
  if (c.isText) Place(c, {});
  else c.numbers.push_back(0.0);
}

void RecordStore::ReserveText(std::size_t field, std::size_t bytes) {
  TextBlock& chars = columns_[field].chars;
  if (bytes > chars.capacity() - chars.size()) chars.reserve(std::min(chars.size() + bytes, kMaxTextBytes));
}

void RecordStore::Seal() {
  std::size_t rows = columns_.empty() ? 0 : CellCount(columns_[0]);
  for (Column& c : columns_) c.nulls.resize(rows);
  order_.resize(rows);
  std::iota(order_.begin() + static_cast<std::ptrdiff_t>(ids_), order_.end(), static_cast<Id>(ids_));
  ids_ = rows;
  // The blocks grew by doubling; a loaded packet keeps only what it uses.
  for (Column& c : columns_)
    if (c.chars.capacity() > c.chars.size() + c.chars.size() / 8) c.chars.shrink_to_fit();
}

void RecordStore::CopyColumns(const RecordStore& from, const std::vector<std::size_t>& fields) {
  columns_.clear();
  columns_.reserve(fields.size());
  for (std::size_t f : fields) columns_.push_back(from.columns_[f]);
  order_ = from.order_;
  ids_ = from.ids_;
}

void RecordStore::TakeColumns(RecordStore&& from, const std::vector<std::size_t>& fields) {
  columns_.clear();
  columns_.reserve(fields.size());
  for (std::size_t f : fields) columns_.push_back(std::move(from.columns_[f]));
  order_ = std::move(from.order_);
  ids_ = from.ids_;
  from.columns_.clear();
  from.order_.clear();
  from.ids_ = 0;
}

void RecordStore::PadTexts(std::size_t field, std::size_t chars) {
  Column& c = columns_[field];
  const auto padOf = [&](std::size_t id) -> std::size_t {
    if (c.nulls[id]) return 0;
    const std::size_t length = Utf8Length(TextOf(c, static_cast<Id>(id)));
    return length < chars ? chars - length : 0;
  };
  std::size_t blanks = 0;
  for (std::size_t id = 0; id < c.starts.size(); ++id) blanks += padOf(id);
  if (blanks == 0) return;
  Column padded{c.type, c.isText, {}, 0, {}, {}, 0, {}, c.nulls};
  padded.starts.reserve(c.starts.size());
  padded.chars.reserve(c.chars.size() - c.garbage + blanks);
  for (std::size_t id = 0; id < c.starts.size(); ++id) Place(padded, TextOf(c, static_cast<Id>(id)), padOf(id));
  c = std::move(padded);
}

void RecordStore::MakeRoomByCompacting(Column& c, std::size_t length) {
  Compact(c);
  if (length > kMaxTextBytes - c.chars.size())
    throw Exception("os textos do campo passam do limite de memória do conjunto de dados");
}

void RecordStore::Discard(Column& c, Id id) {
  c.garbage += TextOf(c, id).size();
  c.moved[id] = TextRef{};
  // Editing must not grow a column without bound: once most of its block is
  // dead, or the moved texts are many, the live texts move to a fresh block
  // in the records' order.
  if ((c.garbage > 4096 && c.garbage > c.chars.size() / 2) || (c.moved.size() > 64 && c.moved.size() > c.starts.size() / 8))
    Compact(c);
}

void RecordStore::Compact(Column& c) {
  TextBlock live;
  live.reserve(c.chars.size() - c.garbage);
  std::vector<std::uint32_t> starts(c.starts.size());
  for (std::size_t id = 0; id < starts.size(); ++id) {
    starts[id] = static_cast<std::uint32_t>(live.size());
    live.append(TextOf(c, static_cast<Id>(id)));
  }
  c.chars = std::move(live);
  c.starts = std::move(starts);
  c.placedEnd = static_cast<std::uint32_t>(c.chars.size());
  c.moved.clear();
  c.garbage = 0;
}

void RecordStore::SetCell(Column& c, Id id, const Variant& value) {
  bool null = value.isNull();
  c.nulls[id] = null;
  if (c.isText) {
    Discard(c, id);
    if (!null) {
      const std::string text = value.asText();
      MakeRoom(c, text.size());
      c.moved[id] = Append(c, text, 0);
    }
  } else if (null) c.numbers[id] = 0.0;
  else if (c.type == FieldType::Boolean) c.numbers[id] = value.asBool() ? 1.0 : 0.0;
  else c.numbers[id] = value.asDouble();
}

RecordStore::Id RecordStore::Add(const Row& row) {
  for (std::size_t f = 0; f < columns_.size(); ++f) AppendCell(f, row[f]);
  for (Column& c : columns_) c.nulls.resize(CellCount(c));
  return static_cast<Id>(ids_++);
}

void RecordStore::Replace(Id id, const Row& row) {
  for (std::size_t f = 0; f < columns_.size(); ++f) SetCell(columns_[f], id, row[f]);
}

void RecordStore::Remove(Id id) {
  for (auto& c : columns_) SetCell(c, id, Variant());
  auto it = std::find(order_.begin(), order_.end(), id);
  if (it != order_.end()) order_.erase(it);
}
