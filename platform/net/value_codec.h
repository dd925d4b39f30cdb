#pragma once
// MessagePack form of a Variant. Scalars and arrays use MessagePack's own
// types; a date is ext type 1 holding the days as a big-endian double; a data
// packet is the one map on the wire: {"fields": [[name, type, size]...],
// "rows": [[cell...]...]}.

#include <msgpack.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/variant.h"

namespace wire {

constexpr std::int8_t kDateExtType = 1;
constexpr unsigned kMaxNesting = 32;

// A body that is not the MessagePack it should be.
class ProtocolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Packer = msgpack::packer<msgpack::sbuffer>;

void PackValue(Packer& pk, const Variant& v);

std::string EncodeValue(const Variant& v);
// Reads one whole MessagePack document (trailing bytes are an error). Throws
// ProtocolError for anything no Variant encodes to; element counts are not
// trusted beyond the body's size, and nesting is limited.
Variant DecodeValue(std::string_view bytes);

}  // namespace wire
