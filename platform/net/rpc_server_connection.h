#pragma once
// The server's end of one client's connection. Private to dx_net: the server
// (rpc_server.cpp) admits them, counts them against its limits and stops them.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "net/rpc_server_impl.h"

// One client's connection, moved along by handlers on the I/O thread: read a
// frame, have a worker answer it, write the answer, wait for the next frame.
// A connection beyond the cap only writes its refusal and lingers until the
// client has read it.
class RpcServer::Impl::Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(Impl& server, Socket socket, bool refused)
      : server_(server),
        socket_(std::move(socket)),
        timer_(server.io),
        peer_(PeerOf(socket_)),
        address_(AddressOf(socket_)),
        refused_(refused) {
    asio::error_code ignored;
    protocol_ = socket_.local_endpoint(ignored).protocol();
    context_.peer = peer_;
    if (server.tls) tls_ = std::make_unique<asio::ssl::stream<Socket&>>(socket_, *server.tls);
  }

  bool refused() const { return refused_; }
  bool busy() const { return busy_; }
  bool loggedIn() const { return loggedIn_; }
  const std::string& peer() const { return peer_; }
  const std::string& address() const { return address_; }
  void start();
  // At shutdown: closes now unless a call is in flight, whose answer closes it.
  void stopWhenIdle();
  void close(const std::string& why);
  static std::string PeerOf(const Socket& socket);
  // The client's address without its port: what the limits per address count.
  static std::string AddressOf(const Socket& socket);

 private:
  // Closes after a failed read or write, saying how it failed.
  void closeAfter(const asio::error_code& ec);
  // Sets the current time limit, `ms` from now.
  void armTimer(int ms);
  // No time limit until the next armTimer().
  void disarmTimer();
  // No time limit, and no wait left pending (the connection is closing).
  void stopTimer();
  void waitTimer(std::chrono::steady_clock::time_point at);
  void begin();
  // Reads some bytes, or writes all of them, through TLS when it is on.
  template <class Buffer, class Handler>
  void readSome(const Buffer& buffer, Handler&& onDone) {
    if (tls_) tls_->async_read_some(buffer, std::forward<Handler>(onDone));
    else socket_.async_read_some(buffer, std::forward<Handler>(onDone));
  }
  template <class Buffer, class Handler>
  void writeAll(const Buffer& buffer, Handler&& onDone) {
    if (tls_) asio::async_write(*tls_, buffer, std::forward<Handler>(onDone));
    else asio::async_write(socket_, buffer, std::forward<Handler>(onDone));
  }
  void readHeader();
  void readBody();
  // `n` more bytes of the header have come.
  void headerRead(std::size_t n);
  // The whole header has come: checks the length and reads the body.
  void headerArrived();
  // Moves up to `size` bytes received ahead (by a worker) into `into`;
  // returns how many.
  std::size_t takeEarly(char* into, std::size_t size);
  void greet();
  void dispatch();
  // On the I/O thread, after a call: takes note of a login gained or lost.
  void noteLogin();
  // The largest frame the connection may send now.
  std::uint32_t frameLimit() const {
    return greeted_ && loggedIn_ ? server_.options.maxFrameBytes : server_.options.maxGreetingFrameBytes;
  }
  // On the I/O thread, as a call leaves for a worker: over plain TCP the
  // worker takes the descriptor out of the I/O thread's epoll set, so the
  // client's next request, arriving while the worker waits for it, wakes
  // that worker alone. Returns false when the socket stays with the I/O
  // thread (TLS).
  bool lendSocket();
  // On the I/O thread, once the worker is done: the descriptor goes back
  // into the epoll set, or is closed when the connection closed meanwhile.
  void takeSocketBack();
  // From the worker that answered: the bytes of the answer's frame the
  // socket took at once.
  std::size_t writeNow(const std::string& body);
  // From the worker that answered: the client's next request into `body`,
  // taken from `received` (what the worker has read past the requests it
  // took) or, when nothing else waits for a worker, read within a moment;
  // so calls made one after another need no hand-over between threads each.
  // False when none has come whole; `received` keeps what came of it.
  // A request due on the login pool (or one too large for a connection
  // that lost its login) is left in `received` for the I/O thread.
  bool nextRequestSoon(std::string& received, std::string& body);
  // Writes the answer's frame but its first `alreadySent` bytes.
  void send(std::string body, bool thenClose, std::size_t alreadySent = 0);
  void sent(const asio::error_code& ec, bool thenClose);
  void linger();

  Impl& server_;
  Socket socket_;
  std::unique_ptr<asio::ssl::stream<Socket&>> tls_;  // over socket_ when the server has TLS
  // While a worker holds the connection over plain TCP, the descriptor it
  // reads and writes, blocking, out of socket_ and of the I/O thread's epoll
  // set; -1 otherwise. Set and reset on the I/O thread, around the worker's
  // turn, so it needs no lock; close() only shuts it down meanwhile (waking
  // the worker), and it is closed once the worker has handed it back.
  int lentFd_ = -1;
  bool receiveWaitSet_ = false;  // the descriptor's receive time-out, set at its first loan
  asio::ip::tcp protocol_ = asio::ip::tcp::v4();  // socket_'s, to take the descriptor back
  // The current time limit (greeting, idle, frame or linger) is `deadline_`.
  // Limits change at every call, so the timer is not moved each time: its
  // wait ends at `timerAt_`, no later than the deadline, and then waits on
  // for a deadline that has moved later.
  asio::steady_timer timer_;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();  // max: none
  std::chrono::steady_clock::time_point timerAt_;
  bool timerWaiting_ = false;
  unsigned timerGeneration_ = 0;  // a wait that ends for an older setting does nothing
  char header_[wire::kFrameHeaderBytes] = {};
  std::size_t headerHave_ = 0;  // bytes of the header received so far
  std::uint32_t length_ = 0;   // of the frame being read
  std::string body_;           // its bytes so far
  // Bytes a worker read past the requests it answered: they come before
  // anything still in the socket.
  std::string early_;
  std::string out_;            // the frame being written
  std::string peer_;           // the client's address and port, for the log
  std::string address_;        // without the port, for the limits per address
  RpcConnection context_;      // what the handler keeps between this connection's calls; a worker's while busy_
  std::chrono::steady_clock::time_point opened_ = std::chrono::steady_clock::now();
  bool refused_;
  bool greeted_ = false;
  // Logged in as the I/O thread last saw context_; until then the login
  // deadline, counted from the hello, bounds every wait.
  bool loggedIn_ = false;
  std::chrono::steady_clock::time_point loginDeadline_ = std::chrono::steady_clock::time_point::max();
  bool busy_ = false;          // a call is in flight: from its full request to its answer written
  bool closed_ = false;
};
