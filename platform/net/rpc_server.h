#pragma once
// The server side of the wire: accepts connections (over TLS when given a
// certificate), checks the server name of each, and hands every request to
// one handler. All connections share one I/O thread, which only moves
// bytes; requests run on a bounded pool of worker threads. Over plain TCP a
// worker holds the connection's socket for the length of its turn: it
// writes its answer itself and, when no other request waits for a worker,
// waits a few milliseconds at most for the same client's next request, so a
// client's calls in a row are not handed between threads each time. A client
// that misbehaves is answered with an error or dropped without disturbing
// the others; a client beyond the connection cap is told so and closed.
// A connection that has not logged in is held short (small frames, a few
// seconds to log in, a few connections per client address, never the places
// kept for logged-in ones) and its requests, like every login, run on a small
// pool of their own at a lower priority, so password checks never take the
// workers that logged-in clients' calls need.
// listen() and run() belong to one thread; stop() is safe from any thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/variant.h"

class ServerLog;

// What the server keeps for one connection between its calls: the client's
// address and whatever the application attaches to it (who logged in, say).
// A connection's calls run one after another, never two at once.
struct RpcConnection {
  std::string peer;
  std::shared_ptr<void> state;  // the application's; null until it sets one
  // Set by the handler when the connection logs in (and cleared when it
  // loses its login); until then the limits for anonymous clients apply.
  bool loggedIn = false;
  // The request key of the call being handled (wire::Request::key); empty
  // when the client sent none. A connection's calls never overlap, so one
  // field serves them all.
  std::string requestKey;
};

// Runs one remote method. `args` are the positional arguments; whatever the
// handler leaves in them travels back as the by-reference arguments. A thrown
// std::exception becomes the call's error message, its what() unchanged.
// Called from several threads at once.
using RpcHandler = std::function<Variant(const std::string& method, std::vector<Variant>& args)>;
// The same, told which connection the call arrived on.
using RpcConnectionHandler =
    std::function<Variant(RpcConnection& connection, const std::string& method, std::vector<Variant>& args)>;

struct RpcServerOptions {
  std::string serverName = "DXR10900.RDMDISTRATO";
  std::uint32_t maxFrameBytes = 64u * 1024u * 1024u;
  // Until it has logged in, a connection may send only small frames, must
  // say hello within greetingTimeoutMs and log in within loginTimeoutMs of
  // the hello; otherwise it is closed.
  std::uint32_t maxGreetingFrameBytes = 64u * 1024u;
  int greetingTimeoutMs = 10000;
  int loginTimeoutMs = 10000;
  int idleTimeoutMs = 30 * 60 * 1000;  // between calls, once logged in
  // Whether clients must log in (the handler sets RpcConnection::loggedIn).
  // When false, a connection counts as logged in once its hello is accepted.
  bool loginRequired = false;
  // The request that logs a connection in: it runs on the login pool even
  // on a connection already logged in.
  std::string loginMethod = "Login";
  // Connections not logged in: at most this many per client address, and
  // never in the places kept for logged-in ones (at most half the cap). A
  // newcomer that finds no place displaces the oldest idle one of the
  // address holding the most.
  std::size_t maxAnonymousPerAddress = 32;
  std::size_t reservedForLoggedIn = 32;
  std::size_t loginThreads = 1;        // anonymous requests and logins, at a lower priority
  // After a request at least this large the freed memory goes back to the
  // system, so one large request does not leave the process large.
  std::size_t trimAfterBytes = 8 * 1024 * 1024;
  int readTimeoutMs = 30000;           // a frame, once begun, must arrive (or leave) whole within this
  std::size_t maxConnections = 256;
  std::size_t workerThreads = 8;       // requests served at once
  // Runs once on each worker thread before the server accepts its first
  // connection: what the handler keeps per thread (a database connection) is
  // made then, not inside the first calls. A failure is logged as a warning
  // and the server serves anyway.
  std::function<void()> prepareWorker;
  std::size_t maxValuesPerRequest = 500000;
  int shutdownGraceMs = 10000;         // calls in flight at stop() may finish within this
  ServerLog* log = nullptr;            // connections, refusals, errors and slow calls; none when null
  int slowCallMs = 1000;               // a call taking longer is logged as a warning
  // PEM certificate (chain) and private key: when both are set every
  // connection is TLS, and a client that does not negotiate it is dropped.
  std::string tlsCertFile, tlsKeyFile;
};

class RpcServer {
 public:
  RpcServer(RpcHandler handler, RpcServerOptions options = {});
  RpcServer(RpcConnectionHandler handler, RpcServerOptions options = {});
  ~RpcServer();
  RpcServer(const RpcServer&) = delete;
  RpcServer& operator=(const RpcServer&) = delete;

  // Binds and listens; port 0 picks a free one. Returns the bound port.
  std::uint16_t listen(const std::string& host, std::uint16_t port);
  // True when listen() bound a loopback address: only this machine reaches it.
  bool listensOnLoopback() const;
  // Serves until stop() has let the calls in flight answer; blocks the
  // calling thread.
  void run();
  // Stops accepting, closes idle connections, lets calls in flight finish and
  // answer (up to the grace period), then closes the rest. Safe from any thread.
  void stop();

  // What the server holds now, for monitoring. Safe from any thread.
  struct Stats {
    std::size_t anonymousConnections = 0;  // greeted or not, not logged in
    std::size_t loggedInConnections = 0;
    std::uint64_t refusedConnections = 0;  // beyond a connection limit, since start
    std::size_t queuedCalls = 0;           // waiting for a worker
  };
  Stats stats() const;

  // The TLS 1.2 cipher suites the server accepts: forward secrecy (ECDHE)
  // and authenticated encryption (AES-GCM, ChaCha20-Poly1305) only. TLS 1.3
  // suites all are.
  static const char* TlsCipherList();

  // The text a connection beyond the cap receives in its hello reply.
  static std::string BusyMessage(std::size_t maxConnections);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
