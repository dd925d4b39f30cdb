#include "record_store.h"

#include <algorithm>
#include <numeric>

void RecordStore::Reset(const std::vector<FieldType>& types, std::size_t capacity) {
  columns_.clear();
  for (FieldType t : types) {
    Column c{t, t == FieldType::String || t == FieldType::FixedString, {}, {}, {}};
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
  if (c.isText) return Variant(c.texts[id]);
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
    c.texts.push_back(null ? std::string() : value.asText());
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
  if (c.isText) c.texts.emplace_back();
  else c.numbers.push_back(0.0);
}

void RecordStore::AppendText(std::size_t field, std::string&& text) {
  Column& c = columns_[field];
  c.nulls.push_back(0);
  c.texts.push_back(std::move(text));
}

void RecordStore::AppendNumber(std::size_t field, double number) {
  Column& c = columns_[field];
  c.nulls.push_back(0);
  c.numbers.push_back(number);
}

void RecordStore::Seal() {
  std::size_t rows = columns_.empty() ? 0 : columns_[0].nulls.size();
  order_.resize(rows);
  std::iota(order_.begin() + static_cast<std::ptrdiff_t>(ids_), order_.end(), static_cast<Id>(ids_));
  ids_ = rows;
}

void RecordStore::SetCell(Column& c, Id id, const Variant& value) {
  bool null = value.isNull();
  c.nulls[id] = null;
  if (c.isText) c.texts[id] = null ? std::string() : value.asText();
  else if (null) c.numbers[id] = 0.0;
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
