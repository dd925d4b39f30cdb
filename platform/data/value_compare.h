#pragma once
// Ordering of stored values, shared by sorting, searching and filtering:
// null before everything, numbers and dates by value, texts alphabetically
// ignoring case and accents first (then by their bytes), fixed-length texts without
// their padding.

#include <string_view>

#include "data/record_store.h"

int CompareText(std::string_view a, std::string_view b);
// <0, 0, >0 for a field's cells in two records.
int CompareCells(const RecordStore& store, RecordStore::Id a, RecordStore::Id b, std::size_t field);
