#pragma once
// The messages of the wire and their frames. A frame is a 4-byte big-endian
// body length followed by a MessagePack body; every body is an array whose
// first element says which message it is (see README.md).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/variant.h"
#include "net/value_codec.h"

namespace wire {

constexpr std::uint32_t kDefaultMaxFrameBytes = 64u * 1024u * 1024u;
constexpr std::size_t kFrameHeaderBytes = 4;

enum class MessageKind : std::int64_t { Hello = 0, HelloReply = 1, Request = 2, Response = 3 };

struct Hello {
  std::string serverName;
};

struct HelloReply {
  bool ok = false;
  std::string message;  // why the server refused the connection
};

// The request key (the optional fifth element) names one user action across
// its retries, on any server: a change is applied once per key (README.md,
// "Writes applied once"). Empty: none sent, as older clients do.
constexpr std::size_t kMaxRequestKeyBytes = 64;

struct Request {
  std::uint64_t id = 0;
  std::string method;
  std::vector<Variant> args;
  std::string key = {};
};

// One by-reference argument the server changed: its position and new value.
using ArgUpdate = std::pair<std::uint32_t, Variant>;

struct Response {
  std::uint64_t id = 0;
  bool ok = false;
  Variant result;                 // when ok
  std::string error;              // when not ok: the message the caller sees
  std::vector<ArgUpdate> updates;  // when ok
};

// A request whose id could be read but whose rest could not: the server
// answers it with an error instead of dropping the connection.
class BadRequest : public ProtocolError {
 public:
  BadRequest(std::uint64_t requestId, const std::string& what) : ProtocolError(what), id(requestId) {}
  std::uint64_t id;
};

void PutFrameLength(char* out, std::uint32_t length);
std::uint32_t FrameLength(const char* header);

std::string EncodeHello(const Hello& m);
std::string EncodeHelloReply(const HelloReply& m);
std::string EncodeRequest(const Request& m);
std::string EncodeResponse(const Response& m);

// Each throws ProtocolError when the body is not that message.
Hello DecodeHello(std::string_view body);
HelloReply DecodeHelloReply(std::string_view body);
Request DecodeRequest(std::string_view body);  // BadRequest when the id was readable
Response DecodeResponse(std::string_view body);

// The method name of a request body read from its first bytes alone, the
// arguments untouched; empty when the body does not begin as a request.
std::string_view PeekMethod(std::string_view body);

// The arguments that differ between `before` and `after`, as updates.
std::vector<ArgUpdate> ChangedArgs(const std::vector<Variant>& before, const std::vector<Variant>& after);

}  // namespace wire
