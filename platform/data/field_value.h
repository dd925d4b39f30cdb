#pragma once
// What a field of a given type stores, and its plain text.

#include <string>

#include "data/packet.h"
#include "data/variant.h"

// The kind a field of this type stores its values as.
Variant::Kind StoredKind(FieldType type);

// `value` brought to what a field of this type and size stores: texts cut
// to their maximum length or padded to their fixed length, numbers and dates
// from their kinds or from text ("1,5", "05/01/2027"), null and empty text
// as null for the non-text types. Throws Exception naming the field when the
// value cannot be taken.
Variant ToFieldValue(const Variant& value, FieldType type, int size, const std::string& fieldName);

// True when `value` can be stored as is, without conversion.
bool IsStoredAs(const Variant& value, FieldType type, int size);

// Plain text of a stored value: "" for null, numbers with the comma, dates dd/mm/yyyy.
std::string StoredText(const Variant& value);
