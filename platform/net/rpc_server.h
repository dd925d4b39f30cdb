#pragma once
// The server side of the wire: accepts connections, checks the server name
// of each, and hands every request to one handler. Many clients are served
// at once; a client that misbehaves is answered with an error or dropped
// without disturbing the others.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/variant.h"

// Runs one remote method. `args` are the positional arguments; whatever the
// handler leaves in them travels back as the by-reference arguments. A thrown
// std::exception becomes the call's error message, its what() unchanged.
// Called from several threads at once.
using RpcHandler = std::function<Variant(const std::string& method, std::vector<Variant>& args)>;

struct RpcServerOptions {
  std::string serverName = "DXR10900.RDMDISTRATO";
  std::uint32_t maxFrameBytes = 64u * 1024u * 1024u;
  int readTimeoutMs = 30000;  // a half-sent frame is dropped after this
};

class RpcServer {
 public:
  RpcServer(RpcHandler handler, RpcServerOptions options = {});
  ~RpcServer();
  RpcServer(const RpcServer&) = delete;
  RpcServer& operator=(const RpcServer&) = delete;

  // Binds and listens; port 0 picks a free one. Returns the bound port.
  std::uint16_t listen(const std::string& host, std::uint16_t port);
  // Serves until stop(); blocks the calling thread.
  void run();
  // Safe from any thread or a signal-watching thread.
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
