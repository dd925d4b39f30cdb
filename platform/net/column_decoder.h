#pragma once
// Decoding of a MessagePack value whose packets go straight into typed
// columns, the storage a dataset keeps its records in, with no cell built on
// the way: a dataset loading the packet copies the columns as they are.
// The packet still reads as rows (its cells are built when first read).
//
// This reads the common shape only: a packet whose "fields" come before its
// "rows" and whose every cell is null or of its field's type (a text for the
// text types, a float for "float", a date for "datetime", an integer within
// 32 bits for "integer", a boolean for "boolean"). Anything else, malformed
// bodies included, is left to DecodeValue, which reads every value the wire
// allows and refuses the rest with its errors. The same bytes thus always
// decode to the same value, whichever reader took them.

#include <string_view>

#include "data/variant.h"

namespace wire {

// As DecodeValue (throws ProtocolError for anything no Variant encodes to).
// Counts are believed only as far as the unread bytes could hold them.
Variant DecodeValueInColumns(std::string_view bytes);

}  // namespace wire
