#include "record_store.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "data/exceptions.h"

void RecordStore::Reset(const std::vector<FieldType>& types, std::size_t capacity) {
  columns_.clear();
  for (FieldType t : types) {
    Column c{t, t == FieldType::String || t == FieldType::FixedString, {}, {}, 0, {}, {}};
    (c.isText ? static_cast<void>(c.texts.reserve(capacity)) : c.numbers.reserve(capacity));
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
  c.nulls.push_back(null);
  if (c.isText) {
    c.texts.push_back(null ? TextRef{} : Store(c, value.asText()));
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
  c.nulls.push_back(1);
  if (c.isText) c.texts.push_back(TextRef{});
  else c.numbers.push_back(0.0);
}

void RecordStore::ReserveText(std::size_t field, std::size_t bytes) {
  std::string& chars = columns_[field].chars;
  if (bytes > chars.capacity() - chars.size()) chars.reserve(std::min(chars.size() + bytes, kMaxTextBytes));
}

void RecordStore::Seal() {
  std::size_t rows = columns_.empty() ? 0 : columns_[0].nulls.size();
  order_.resize(rows);
  std::iota(order_.begin() + static_cast<std::ptrdiff_t>(ids_), order_.end(), static_cast<Id>(ids_));
  ids_ = rows;
  // The blocks grew by doubling; a loaded packet keeps only what it uses.
  for (Column& c : columns_)
    if (c.chars.capacity() > c.chars.size() + c.chars.size() / 8) c.chars.shrink_to_fit();
}

RecordStore::TextRef RecordStore::StoreAfterCompacting(Column& c, std::string_view text, std::size_t padBlanks) {
  const std::size_t length = text.size() + padBlanks;
  Compact(c);
  if (length > kMaxTextBytes - c.chars.size())
    throw Exception("os textos do campo passam do limite de memória do conjunto de dados");
  return Store(c, text, padBlanks);
}

void RecordStore::Discard(Column& c, Id id) {
  c.garbage += c.texts[id].length;
  c.texts[id] = TextRef{};
  // Editing must not grow a column without bound: once most of its block is
  // dead, the live texts move to a fresh one.
  if (c.garbage > 4096 && c.garbage > c.chars.size() / 2) Compact(c);
}

void RecordStore::Compact(Column& c) {
  std::string live;
  live.reserve(c.chars.size() - c.garbage);
  for (TextRef& r : c.texts) {
    const std::uint32_t offset = static_cast<std::uint32_t>(live.size());
    live.append(c.chars, r.offset, r.length);
    r.offset = offset;
  }
  c.chars = std::move(live);
  c.garbage = 0;
}

void RecordStore::SetCell(Column& c, Id id, const Variant& value) {
  bool null = value.isNull();
  c.nulls[id] = null;
  if (c.isText) {
    Discard(c, id);
    if (!null) c.texts[id] = Store(c, value.asText());
  } else if (null) c.numbers[id] = 0.0;
  else if (c.type == FieldType::Boolean) c.numbers[id] = value.asBool() ? 1.0 : 0.0;
  else c.numbers[id] = value.asDouble();
}

RecordStore::Id RecordStore::Add(const Row& row) {
  for (std::size_t f = 0; f < columns_.size(); ++f) AppendCell(f, row[f]);
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
