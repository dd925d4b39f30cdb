#include "record_order.h"

#include <algorithm>
#include <cstdint>
#include <string>

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
  // The texts are copied side by side first: comparing them where they live
  // would chase a heap pointer per long text on every comparison.
  std::size_t total = 0;
  for (Id id : ids) total += store.Text(id, field).size();
  std::string arena;
  arena.reserve(total);
  struct Key {
    bool notNull;
    std::uint32_t offset, length;
    Id id;
  };
  std::vector<Key> keys;
  keys.reserve(ids.size());
  for (Id id : ids) {
    std::string_view t = store.Text(id, field);
    if (fixed) t = TrimRight(t);
    keys.push_back({!store.IsNull(id, field), static_cast<std::uint32_t>(arena.size()),
                    static_cast<std::uint32_t>(t.size()), id});
    arena.append(t);
  }
  std::string_view all = arena;
  std::stable_sort(keys.begin(), keys.end(), [all](const Key& a, const Key& b) {
    if (a.notNull != b.notNull) return b.notNull;
    return CompareText(all.substr(a.offset, a.length), all.substr(b.offset, b.length)) < 0;
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
