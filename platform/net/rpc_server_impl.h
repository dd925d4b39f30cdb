#pragma once
// Inside RpcServer: what the server (rpc_server.cpp: accepting, limits,
// shutdown, answering) and each client's connection
// (rpc_server_connection.cpp) share. Private to dx_net.

#include <asio.hpp>
#include <asio/ssl.hpp>

#include <atomic>
#include <malloc.h>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "net/anonymous_roster.h"
#include "net/rpc_server.h"
#include "net/server_log.h"
#include "net/wire_codec.h"

struct RpcServer::Impl {
  class Connection;
  using Socket = asio::ip::tcp::socket;

  Impl(RpcConnectionHandler h, RpcServerOptions o);

  RpcConnectionHandler handler;
  RpcServerOptions options;
  std::unique_ptr<asio::ssl::context> tls;  // null: plain TCP
  asio::io_context io;                     // every socket and timer; run by run()'s thread only
  asio::ip::tcp::acceptor acceptor{io};
  asio::steady_timer retryTimer{io};       // after a failed accept (say, out of descriptors)
  asio::steady_timer graceTimer{io};       // ends the calls' grace period at shutdown
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> keepRunning;
  std::optional<asio::thread_pool> workers;  // runs the handler; made by run()
  // Anonymous requests and logins: a few threads at a lower priority.
  asio::io_context loginIo;
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> loginWork;
  std::vector<std::thread> loginThreads;
  std::atomic<bool> stopRequested{false};
  std::atomic<bool> stopping{false};  // set on the I/O thread
  std::atomic<int> callsQueued{0};    // waiting for a worker
  // The I/O thread's counts as monitoring reads them from other threads.
  std::atomic<std::size_t> openConnections{0}, openAnonymous{0};
  std::atomic<std::uint64_t> refusedConnections{0};
  void publishCounts() {
    openConnections = connections.size() - refusing;
    openAnonymous = anonymous.size();
  }
  // The rest is touched on the I/O thread only.
  std::set<std::shared_ptr<Connection>> connections;  // open ones, refused ones included
  std::size_t refusing = 0;                           // of those, the ones being refused
  AnonymousRoster<std::shared_ptr<Connection>> anonymous;  // of those, the ones not logged in

  // Places for connections: the cap, or fewer when descriptors are short.
  std::size_t capacity() const;
  // Closes anonymous connections until a newcomer from `address` fits;
  // false when none could be closed and it does not.
  bool makeRoom(const std::string& address);
  void startLoginPool();
  void prepareWorkers();
  void stopLoginPool();
  bool runsOnLoginPool(std::string_view body, bool loggedIn) const {
    return !loggedIn || wire::PeekMethod(body) == options.loginMethod;
  }

  void say(ServerLog::Level level, const std::string& line) const {
    if (options.log) options.log->write(level, line);
  }
  void acceptNext();
  void admit(Socket socket);
  void forget(const std::shared_ptr<Connection>& c);
  void beginShutdown();
  void finishIfDone();
  // The encoded answer to a request body; empty when the connection must be
  // dropped instead. Runs on a worker thread.
  std::string process(const std::string& body, RpcConnection& connection) const;
  // After a large request: its body and what was decoded of it go back to
  // the system, not only to the allocator. Runs on the thread that served it.
  void releaseLarge(std::string& body) const {
    if (body.size() < options.trimAfterBytes) return;
    std::string().swap(body);
    malloc_trim(0);
  }
  // Runs the handler; `fault` is set when it failed for a reason other than
  // a Refusal (already logged at Error, answered with FaultAnswer's text).
  wire::Response answer(const wire::Request& request, RpcConnection& connection, bool& fault) const;
};
