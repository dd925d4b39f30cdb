#pragma once
// A real RpcServer on a loopback port, served on its own thread, and a
// stand-in server that misbehaves on purpose.

#include <functional>
#include <string>
#include <thread>

#include "net/frame_channel.h"
#include "net/rpc_server.h"
#include "net/wire_codec.h"

class ServedRpc {
 public:
  explicit ServedRpc(RpcHandler handler, RpcServerOptions options = {})
      : ServedRpc(RpcConnectionHandler([handler = std::move(handler)](RpcConnection&, const std::string& method,
                                                                      std::vector<Variant>& args) {
                    return handler(method, args);
                  }),
                  std::move(options)) {}
  // A handler that keeps state per connection.
  explicit ServedRpc(RpcConnectionHandler handler, RpcServerOptions options = {})
      : server_(std::move(handler), std::move(options)) {
    port_ = server_.listen("127.0.0.1", 0);
    thread_ = std::thread([this] { server_.run(); });
  }
  ~ServedRpc() {
    server_.stop();
    thread_.join();
  }
  std::uint16_t port() const { return port_; }

 private:
  RpcServer server_;
  std::uint16_t port_ = 0;
  std::thread thread_;
};

// Accepts one connection and hands it, as a FrameChannel, to `script`.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::function<void(wire::FrameChannel&)> script)
      : acceptor_(io_, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0)) {
    port_ = acceptor_.local_endpoint().port();
    thread_ = std::thread([this, script = std::move(script)] {
      wire::FrameChannel channel(wire::kDefaultMaxFrameBytes);
      asio::error_code ec;
      asio::ip::tcp::socket s = acceptor_.accept(channel.context(), ec);
      if (ec) return;
      channel.adopt(std::move(s));
      try {
        script(channel);
      } catch (...) {
      }
    });
  }
  ~ScriptedServer() { thread_.join(); }
  std::uint16_t port() const { return port_; }

  // Reads the client's hello and accepts it.
  static void Greet(wire::FrameChannel& ch) {
    wire::DecodeHello(ch.readFrame(Soon()));
    ch.writeFrame(wire::EncodeHelloReply({true, ""}), Soon());
  }
  static wire::Clock::time_point Soon() { return wire::Clock::now() + std::chrono::seconds(5); }

 private:
  asio::io_context io_;
  asio::ip::tcp::acceptor acceptor_;
  std::uint16_t port_ = 0;
  std::thread thread_;
};
