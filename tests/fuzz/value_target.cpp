// The value codec: whatever decodes must encode to bytes that decode and
// encode again to the same bytes; anything else must be refused with
// ProtocolError, never crash, hang or read out of bounds.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/value_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Variant value;
  try {
    value = wire::DecodeValue(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const wire::ProtocolError&) {
    return 0;
  }
  const std::string once = wire::EncodeValue(value);
  if (wire::EncodeValue(wire::DecodeValue(once)) != once) std::abort();
  return 0;
}
