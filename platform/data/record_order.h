#pragma once
// Ordering of a dataset's records by its index fields.

#include <vector>

#include "data/record_store.h"

// Sorts `ids` ascending by the given fields, keeping the current order of
// records that compare equal.
void SortRecords(std::vector<RecordStore::Id>& ids, const RecordStore& store, const std::vector<std::size_t>& fields);
