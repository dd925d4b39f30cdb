#pragma once
// One TCP connection carrying frames, optionally inside TLS; every operation
// is bounded by a deadline. Asio resolves and connects (on this channel's own
// io_context); frames then move straight over the socket, a receive
// blocking a slice of its wait at a time, or through OpenSSL over the
// non-blocking socket with waits in poll() after startTls(). Used by the client's
// TNetConnection, and by tests standing in for a server. Not thread-safe
// except for closeSoon().

#include <asio.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

struct ssl_st;
struct ssl_ctx_st;

namespace wire {

using Clock = std::chrono::steady_clock;

class ChannelError : public std::runtime_error {
 public:
  enum class Reason { ConnectFailed, TimedOut, Closed, FrameTooBig, Io };
  ChannelError(Reason r, const std::string& detail) : std::runtime_error(detail), reason(r) {}
  Reason reason;
};

class FrameChannel {
 public:
  explicit FrameChannel(std::uint32_t maxFrameBytes);
  ~FrameChannel();
  FrameChannel(const FrameChannel&) = delete;
  FrameChannel& operator=(const FrameChannel&) = delete;

  asio::io_context& context() { return io_; }
  asio::ip::tcp::socket& socket() { return socket_; }
  bool isOpen() const { return socket_.is_open(); }

  // Called on the waiting thread about every tickInterval while an operation
  // blocks; lets a user interface keep repainting.
  void setTick(std::function<void()> tick, std::chrono::milliseconds interval);

  void connect(const std::string& host, std::uint16_t port, Clock::time_point deadline);
  // After connect(): negotiates TLS as a client. The server's certificate
  // must chain to the system's CAs or to `caFile` (PEM, when given) and name
  // `host`. Throws ChannelError (ConnectFailed) saying why not.
  void startTls(const std::string& host, const std::string& caFile, Clock::time_point deadline);
  bool tls() const { return ssl_ != nullptr; }
  // Takes over a socket accepted on context().
  void adopt(asio::ip::tcp::socket socket);

  void writeFrame(const std::string& body, Clock::time_point deadline);
  // Blocks until the peer starts sending (or closes), with no time limit.
  void waitReadable();
  std::string readFrame(Clock::time_point deadline);

  // True when the peer has closed an idle connection (seen without blocking).
  bool peerClosed();
  void close();
  // From any thread: closes the socket on this channel's own thread at its
  // next wait, which then fails with Closed.
  void closeSoon();

 private:
  // False when the deadline passed first; nothing is cancelled then.
  bool runUntil(const bool& done, Clock::time_point deadline);
  // Runs a socket operation to completion or throws TimedOut after closing.
  void awaitSocketOp(const bool& done, Clock::time_point deadline);
  asio::ip::tcp::resolver::results_type resolve(const std::string& host, std::uint16_t port,
                                                Clock::time_point deadline);
  // After connecting or adopting: no delay, blocking receives with a time-out.
  void configureSocket();
  [[noreturn]] void failErrno(int err);
  // Waits in poll() for `events`, ticking; closes and throws TimedOut at the deadline.
  void waitFor(short events, Clock::time_point deadline);
  std::size_t receive(char* into, std::size_t size, Clock::time_point deadline);
  void send(const char* data, std::size_t size, Clock::time_point deadline);
  // After an OpenSSL call failed with `result`: waits when it wants to read
  // or write, throws otherwise.
  void awaitTls(int result, Clock::time_point deadline);
  void freeTls();

  static constexpr std::size_t kInputBufferBytes = 64 * 1024;
  static constexpr std::chrono::milliseconds kLongestWaitSlice{50};

  std::uint32_t maxFrameBytes_;
  asio::io_context io_;
  asio::ip::tcp::socket socket_;
  std::mutex closeMutex_;  // close() against closeSoon() from another thread
  std::vector<char> in_;   // bytes received ahead of the frame being read
  std::size_t inBegin_ = 0;
  std::size_t inEnd_ = 0;
  std::function<void()> tick_;
  std::chrono::milliseconds tickInterval_{50};
  std::chrono::milliseconds waitSlice_{50};  // the longest a receive blocks: the socket's receive time-out
  ssl_ctx_st* sslContext_ = nullptr;  // with ssl_, only after startTls()
  ssl_st* ssl_ = nullptr;
};

}  // namespace wire
