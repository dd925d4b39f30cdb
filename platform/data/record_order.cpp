#include "record_order.h"

#include <algorithm>

#include "data/text_compare.h"
#include "data/value_compare.h"

namespace {

using Id = RecordStore::Id;

// One field's keys copied next to their ids, so the sort reads contiguous memory.
void SortByNumber(std::vector<Id>& ids, const RecordStore& store, std::size_t field) {
  struct Key {
    bool notNull;
    double value;
    Id id;
  };
  std::vector<Key> keys;
  keys.reserve(ids.size());
  for (Id id : ids) keys.push_back({!store.IsNull(id, field), store.Number(id, field), id});
  std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    if (a.notNull != b.notNull) return b.notNull;
    return a.value < b.value;
  });
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = keys[i].id;
}

void SortByText(std::vector<Id>& ids, const RecordStore& store, std::size_t field) {
  bool fixed = store.Type(field) == FieldType::FixedString;
  struct Key {
    bool notNull;
    std::string_view text;
    Id id;
  };
  std::vector<Key> keys;
  keys.reserve(ids.size());
  for (Id id : ids) {
    std::string_view t = store.Text(id, field);
    keys.push_back({!store.IsNull(id, field), fixed ? TrimRight(t) : t, id});
  }
  std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    if (a.notNull != b.notNull) return b.notNull;
    return CompareText(a.text, b.text) < 0;
  });
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = keys[i].id;
}

}  // namespace

void SortRecords(std::vector<Id>& ids, const RecordStore& store, const std::vector<std::size_t>& fields) {
  if (fields.empty()) return;
  if (fields.size() == 1) {
    FieldType t = store.Type(fields[0]);
    if (t == FieldType::String || t == FieldType::FixedString) SortByText(ids, store, fields[0]);
    else SortByNumber(ids, store, fields[0]);
    return;
  }
  std::stable_sort(ids.begin(), ids.end(), [&](Id a, Id b) {
    for (std::size_t f : fields) {
      int c = CompareCells(store, a, b, f);
      if (c != 0) return c < 0;
    }
    return false;
  });
}
