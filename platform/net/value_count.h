#pragma once
// How many values a MessagePack body holds, counted over its bytes without
// building any of them. Decoding costs far more memory than the bytes it
// reads (a nil is one byte on the wire and a whole Variant in memory), so the
// server counts first and refuses a request holding too many values.
// Thread-safe: a plain function of its input.

#include <cstddef>
#include <string_view>

namespace wire {

// The number of values (every array, map, key and element counts one) in
// `body`, stopping as soon as it passes `limit`; a body cut short or not
// MessagePack at all is counted as far as it reads and left to the decoder.
std::size_t CountValues(std::string_view body, std::size_t limit);

}  // namespace wire
