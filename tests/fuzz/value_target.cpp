// The value codec: whatever decodes must encode to bytes that decode and
// encode again to the same bytes; anything else must be refused with
// ProtocolError, never crash, hang or read out of bounds. The decoder that
// reads packets into columns must agree with it on every input: the same
// value, or the same refusal.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/column_decoder.h"
#include "net/value_codec.h"

namespace {

// The value `decode` reads from `bytes`, or the text of its refusal.
struct Outcome {
  Variant value;
  std::string refusal;
  bool refused = false;
};

Outcome Decode(Variant (*decode)(std::string_view), std::string_view bytes) {
  Outcome out;
  try {
    out.value = decode(bytes);
  } catch (const wire::ProtocolError& e) {
    out.refusal = e.what();
    out.refused = true;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Outcome general = Decode(wire::DecodeValue, bytes), columns = Decode(wire::DecodeValueInColumns, bytes);
  if (general.refused != columns.refused || general.refusal != columns.refusal) std::abort();
  if (general.refused) return 0;
  // Compared as bytes: a NaN is not equal to itself.
  if (wire::EncodeValue(general.value) != wire::EncodeValue(columns.value)) std::abort();
  const Variant& value = general.value;
  const std::string once = wire::EncodeValue(value);
  if (wire::EncodeValue(wire::DecodeValue(once)) != once) std::abort();
  return 0;
}
