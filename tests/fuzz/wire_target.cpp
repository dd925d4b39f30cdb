// The server's reading of a request body: the value count taken before
// decoding, then every message decoder. Malformed input must be refused with
// ProtocolError, never crash, hang or read out of bounds.

#include <cstdint>
#include <string_view>

#include "net/value_count.h"
#include "net/wire_codec.h"

namespace {

template <class F>
void Refusable(F decode) {
  try {
    decode();
  } catch (const wire::ProtocolError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  if (wire::CountValues(body, 100000) > 100000) return 0;  // the server drops it undecoded
  Refusable([&] { wire::DecodeRequest(body); });
  Refusable([&] { wire::DecodeResponse(body); });
  Refusable([&] { wire::DecodeHello(body); });
  Refusable([&] { wire::DecodeHelloReply(body); });
  return 0;
}
