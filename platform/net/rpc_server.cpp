#include "rpc_server.h"

#include <asio.hpp>
#include <asio/ssl.hpp>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <malloc.h>
#include <optional>
#include <set>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "net/anonymous_roster.h"
#include "net/printable_text.h"
#include "net/refusal.h"
#include "net/server_log.h"
#include "net/value_count.h"
#include "net/wire_codec.h"

namespace {

using Socket = asio::ip::tcp::socket;

// Connections beyond the cap that are being told so at the same time; any
// more are closed without a word.
constexpr std::size_t kMaxRefusing = 64;
// Received bytes are read into the body at most this much ahead of what has
// arrived, so an announced length costs nothing until its bytes come.
constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr int kRefusalLingerMs = 1000;
// How long a worker that has answered waits for the same client's next call:
// the socket's receive time-out, rounded up by the kernel to a clock tick (a
// few milliseconds at most). A receive time-out costs far less than a poll()
// with one, which arms a high-resolution timer at every call.
constexpr timeval kNextRequestWait{0, 1000};
constexpr auto kAcceptRetry = std::chrono::milliseconds(100);
// A refusal is logged whole up to this many characters.
constexpr std::size_t kLoggedRefusalChars = 400;
// How much lower than the workers' the login pool's priority is (nice).
constexpr int kLoginPoolNiceness = 5;

// How many connections the process's descriptor limit allows, read at each
// accept so that a limit lowered while running counts too. Some descriptors
// stay for everything else: the storage each worker opens, logs, the
// listening socket.
std::size_t DescriptorBudget(std::size_t workers) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
  const std::size_t reserve = 32 + 4 * workers;
  return limit.rlim_cur > reserve ? static_cast<std::size_t>(limit.rlim_cur) - reserve : 0;
}

// The first request in `received` when it has come whole (and within the
// limit) and `wanted` accepts its body, taken out of it into `body`.
template <class Wanted>
bool TakeWholeRequest(std::string& received, std::string& body, std::uint32_t maxFrameBytes, const Wanted& wanted) {
  if (received.size() < wire::kFrameHeaderBytes) return false;
  const std::size_t length = wire::FrameLength(received.data());
  const std::size_t frame = wire::kFrameHeaderBytes + length;
  if (length > maxFrameBytes || received.size() < frame) return false;
  if (!wanted(std::string_view(received).substr(wire::kFrameHeaderBytes, length))) return false;
  body.assign(received, wire::kFrameHeaderBytes, length);
  received.erase(0, frame);
  return true;
}

// The client's address without its port: what the limits per address count.
std::string AddressOf(const Socket& socket) {
  asio::error_code ec;
  const auto endpoint = socket.remote_endpoint(ec);
  return ec ? std::string("?") : endpoint.address().to_string();
}

bool SameServerName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The server's TLS settings: TLS 1.2 or later, the certificate chain and key
// from PEM files. Throws naming the file that does not serve.
std::unique_ptr<asio::ssl::context> TlsContext(const RpcServerOptions& o) {
  if (o.tlsCertFile.empty() && o.tlsKeyFile.empty()) return nullptr;
  auto context = std::make_unique<asio::ssl::context>(asio::ssl::context::tls_server);
  context->set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2 |
                       asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1 |
                       asio::ssl::context::no_tlsv1_1 | asio::ssl::context::single_dh_use);
  // TLS 1.2 with forward secrecy and authenticated encryption only.
  if (SSL_CTX_set_cipher_list(context->native_handle(), RpcServer::TlsCipherList()) != 1)
    throw std::runtime_error("Nenhuma cifra TLS disponível.");
  asio::error_code ec;
  context->use_certificate_chain_file(o.tlsCertFile, ec);
  if (ec) throw std::runtime_error("Certificado TLS " + o.tlsCertFile + " inválido: " + ec.message());
  context->use_private_key_file(o.tlsKeyFile, asio::ssl::context::pem, ec);
  if (ec) throw std::runtime_error("Chave TLS " + o.tlsKeyFile + " inválida: " + ec.message());
  // No session resumption: session tickets (TLS 1.2's and 1.3's) would
  // reach an idle client as bytes it did not ask for, and a ticket key
  // outliving its sessions weakens forward secrecy.
  SSL_CTX_set_options(context->native_handle(), SSL_OP_NO_TICKET);
  SSL_CTX_set_num_tickets(context->native_handle(), 0);
  SSL_CTX_set_session_cache_mode(context->native_handle(), SSL_SESS_CACHE_OFF);
  return context;
}

}  // namespace

struct RpcServer::Impl {
  class Connection;

  Impl(RpcConnectionHandler h, RpcServerOptions o)
      : handler(std::move(h)), options(std::move(o)), tls(TlsContext(options)) {}

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
  std::size_t capacity() const { return std::min(options.maxConnections, DescriptorBudget(options.workerThreads)); }
  // Closes anonymous connections until a newcomer from `address` fits;
  // false when none could be closed and it does not.
  bool makeRoom(const std::string& address);
  void startLoginPool();
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

void RpcServer::Impl::Connection::start() {
  asio::error_code ignored;
  socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
  if (!tls_) return begin();
  // The handshake counts against the greeting's time.
  armTimer(server_.options.greetingTimeoutMs);
  tls_->async_handshake(asio::ssl::stream_base::server, [self = shared_from_this()](const asio::error_code& ec) {
    if (self->closed_) return;
    if (ec) {
      self->server_.say(ServerLog::Level::Warning, "conexão " + self->peer_ + ": negociação TLS falhou: " + ec.message());
      return self->close("sem TLS");
    }
    self->begin();
  });
}

void RpcServer::Impl::Connection::begin() {
  if (refused_) {
    send(wire::EncodeHelloReply({false, BusyMessage(server_.options.maxConnections)}), true);
    return;
  }
  if (!tls_) armTimer(server_.options.greetingTimeoutMs);  // a TLS handshake already started the clock
  readHeader();
}

void RpcServer::Impl::Connection::armTimer(int ms) {
  deadline_ = std::min(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms), loginDeadline_);
  if (timerWaiting_ && timerAt_ <= deadline_) return;  // that wait ends first and waits on
  waitTimer(deadline_);
}

void RpcServer::Impl::Connection::waitTimer(std::chrono::steady_clock::time_point at) {
  const unsigned generation = ++timerGeneration_;
  timerAt_ = at;
  timerWaiting_ = true;
  timer_.expires_at(at);  // a wait still pending ends as cancelled, its generation past
  timer_.async_wait([self = shared_from_this(), generation](const asio::error_code& ec) {
    if (generation != self->timerGeneration_) return;
    self->timerWaiting_ = false;
    if (ec || self->closed_ || self->deadline_ == std::chrono::steady_clock::time_point::max()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now < self->deadline_) return self->waitTimer(self->deadline_);
    if (now >= self->loginDeadline_)
      return self->close("sem login em " + std::to_string(self->server_.options.loginTimeoutMs / 1000) + " s");
    self->close("tempo esgotado");
  });
}

void RpcServer::Impl::Connection::disarmTimer() { deadline_ = std::chrono::steady_clock::time_point::max(); }

void RpcServer::Impl::Connection::stopTimer() {
  disarmTimer();
  ++timerGeneration_;
  timerWaiting_ = false;
  timer_.cancel();
}

std::size_t RpcServer::Impl::Connection::takeEarly(char* into, std::size_t size) {
  const std::size_t n = std::min(size, early_.size());
  std::copy_n(early_.data(), n, into);
  early_.erase(0, n);
  return n;
}

void RpcServer::Impl::Connection::readHeader() {
  const std::size_t have = headerHave_;
  if (const std::size_t n = takeEarly(header_ + have, sizeof header_ - have)) return headerRead(n);
  readSome(asio::buffer(header_ + have, sizeof header_ - have),
           [self = shared_from_this()](const asio::error_code& ec, std::size_t n) {
             if (ec || self->closed_) return self->closeAfter(ec);
             self->headerRead(n);
           });
}

void RpcServer::Impl::Connection::headerRead(std::size_t n) {
  // A frame once begun must arrive in time; a greeting keeps the deadline it
  // started with.
  if (headerHave_ == 0 && greeted_) armTimer(server_.options.readTimeoutMs);
  headerHave_ += n;
  if (headerHave_ < sizeof header_) return readHeader();
  headerArrived();
}

void RpcServer::Impl::Connection::headerArrived() {
  headerHave_ = 0;
  length_ = wire::FrameLength(header_);
  const std::uint32_t limit = frameLimit();
  if (length_ > limit)
    return close("mensagem de " + std::to_string(length_) + " bytes excede o limite de " + std::to_string(limit));
  readBody();
}

void RpcServer::Impl::Connection::readBody() {
  if (body_.size() == length_) return greeted_ ? dispatch() : greet();
  const std::size_t have = body_.size();
  const std::size_t chunk = std::min<std::size_t>(length_ - have, std::max(have, kReadChunkBytes));
  body_.resize(have + chunk);
  if (const std::size_t n = takeEarly(body_.data() + have, chunk)) {
    body_.resize(have + n);
    return readBody();
  }
  readSome(asio::buffer(body_.data() + have, chunk),
           [self = shared_from_this(), have](const asio::error_code& ec, std::size_t n) {
             if (ec || self->closed_) return self->closeAfter(ec);
             self->body_.resize(have + n);
             self->readBody();
           });
}

void RpcServer::Impl::Connection::greet() {
  wire::HelloReply reply;
  try {
    const wire::Hello hello = wire::DecodeHello(body_);
    reply.ok = SameServerName(hello.serverName, server_.options.serverName);
    if (!reply.ok) reply.message = "Servidor desconhecido: " + PrintableText(hello.serverName);
  } catch (const wire::ProtocolError&) {
    return close("saudação inválida");
  }
  if (!reply.ok) server_.say(ServerLog::Level::Warning, "conexão " + peer_ + ": " + reply.message);
  greeted_ = reply.ok;
  if (greeted_ && !server_.options.loginRequired) context_.loggedIn = true;  // the hello was the only gate
  if (greeted_)
    loginDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(server_.options.loginTimeoutMs);
  noteLogin();
  std::string().swap(body_);
  send(wire::EncodeHelloReply(reply), !reply.ok);
}

void RpcServer::Impl::Connection::dispatch() {
  busy_ = true;
  disarmTimer();
  if (server_.runsOnLoginPool(body_, loggedIn_)) {
    // One request at a time, answered through the I/O thread: a login is
    // slow anyway, and the next request may be due on the workers.
    asio::post(server_.loginIo, [self = shared_from_this(), body = std::move(body_)]() mutable {
      std::string out = self->server_.process(body, self->context_);
      self->server_.releaseLarge(body);
      asio::post(self->server_.io, [self, out = std::move(out)]() mutable {
        self->noteLogin();
        if (out.empty()) return self->close("requisição recusada sem resposta");
        self->send(std::move(out), self->server_.stopping);
      });
    });
    body_ = std::string();
    return;
  }
  const bool lent = lendSocket();
  ++server_.callsQueued;
  asio::post(*server_.workers, [self = shared_from_this(), body = std::move(body_), lent,
                                received = std::move(early_)]() mutable {
    --self->server_.callsQueued;
    for (;;) {
      std::string out = self->server_.process(body, self->context_);
      self->server_.releaseLarge(body);
      // The client hears the answer without waiting for the I/O thread to
      // wake; that thread only writes what the socket did not take.
      const std::size_t sent = out.empty() || !lent ? 0 : self->writeNow(out);
      if (!out.empty() && sent == wire::kFrameHeaderBytes + out.size() && self->nextRequestSoon(received, body))
        continue;
      asio::post(self->server_.io, [self, out = std::move(out), sent, lent, received = std::move(received)]() mutable {
        if (lent) self->takeSocketBack();
        self->early_ = std::move(received);
        self->noteLogin();
        if (out.empty()) return self->close("requisição recusada sem resposta");
        self->send(std::move(out), self->server_.stopping, sent);
      });
      return;
    }
  });
  body_ = std::string();
  early_ = std::string();
}

void RpcServer::Impl::Connection::noteLogin() {
  if (context_.loggedIn == loggedIn_ || closed_) return;
  loggedIn_ = context_.loggedIn;
  auto self = shared_from_this();
  if (loggedIn_) {
    loginDeadline_ = std::chrono::steady_clock::time_point::max();
    server_.anonymous.remove(self, address_);
  } else {
    // A connection that lost its login is anonymous again, with the time
    // to log in counted afresh.
    loginDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(server_.options.loginTimeoutMs);
    server_.anonymous.add(self, address_);
  }
  server_.publishCounts();
}

bool RpcServer::Impl::Connection::lendSocket() {
  if (tls_) return false;
  asio::error_code ec;
  const int fd = socket_.release(ec);
  if (ec) return false;
  // The worker waits in a blocking receive bounded by the time-out; Asio
  // makes the socket non-blocking again at its first operation once it is
  // back.
  int blocking = 0;
  ::ioctl(fd, FIONBIO, &blocking);
  if (!receiveWaitSet_) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &kNextRequestWait, sizeof kNextRequestWait);
    receiveWaitSet_ = true;
  }
  lentFd_ = fd;
  return true;
}

void RpcServer::Impl::Connection::takeSocketBack() {
  const int fd = std::exchange(lentFd_, -1);
  asio::error_code ec;
  if (!closed_) socket_.assign(protocol_, fd, ec);
  if (closed_ || ec) ::close(fd);
  // A socket that could not be taken back reads as closed: the send that
  // follows fails and closes the connection, saying why.
}

bool RpcServer::Impl::Connection::nextRequestSoon(std::string& received, std::string& body) {
  // context_ is this worker's while the call lasts; a connection that lost
  // its login goes back to the I/O thread and its limits.
  if (!context_.loggedIn) return false;
  const std::uint32_t limit = server_.options.maxFrameBytes;
  const auto forTheWorkers = [this](std::string_view next) { return !server_.runsOnLoginPool(next, true); };
  // Requests already read are answered first.
  if (TakeWholeRequest(received, body, limit, forTheWorkers)) return true;
  if (lentFd_ < 0 || server_.stopping || server_.callsQueued > 0) return false;
  // One receive: a request too big to come at once, a close, an error or
  // nothing within the wait is left to the I/O thread, which finds out
  // which and reads on from what came.
  thread_local std::vector<char> chunk(wire::kFrameHeaderBytes + kReadChunkBytes);
  const ssize_t n = ::recv(lentFd_, chunk.data(), chunk.size(), 0);
  if (n <= 0) return false;
  received.append(chunk.data(), static_cast<std::size_t>(n));
  return TakeWholeRequest(received, body, limit, forTheWorkers);
}

std::size_t RpcServer::Impl::Connection::writeNow(const std::string& body) {
  if (tls_) return 0;  // TLS records belong to the stream on the I/O thread
  char header[wire::kFrameHeaderBytes];
  wire::PutFrameLength(header, static_cast<std::uint32_t>(body.size()));
  const std::size_t total = sizeof header + body.size();
  std::size_t done = 0;
  while (done < total) {
    iovec parts[2];
    int count = 0;
    if (done < sizeof header) parts[count++] = {header + done, sizeof header - done};
    const std::size_t bodyDone = done > sizeof header ? done - sizeof header : 0;
    if (bodyDone < body.size()) parts[count++] = {const_cast<char*>(body.data()) + bodyDone, body.size() - bodyDone};
    msghdr msg{};
    msg.msg_iov = parts;
    msg.msg_iovlen = static_cast<std::size_t>(count);
    const ssize_t n = ::sendmsg(lentFd_, &msg, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else break;  // full, or failed: the I/O thread's write finds out which
  }
  return done;
}

void RpcServer::Impl::Connection::send(std::string body, bool thenClose, std::size_t alreadySent) {
  if (closed_) return;
  const std::size_t total = wire::kFrameHeaderBytes + body.size();
  if (alreadySent >= total) return sent({}, thenClose);
  out_.resize(wire::kFrameHeaderBytes);
  wire::PutFrameLength(out_.data(), static_cast<std::uint32_t>(body.size()));
  out_ += body;
  out_.erase(0, alreadySent);
  armTimer(server_.options.readTimeoutMs);
  writeAll(asio::buffer(out_), [self = shared_from_this(), thenClose](const asio::error_code& ec, std::size_t) {
    self->sent(ec, thenClose);
  });
}

void RpcServer::Impl::Connection::sent(const asio::error_code& ec, bool thenClose) {
  busy_ = false;
  std::string().swap(out_);
  if (ec || closed_) return closeAfter(ec);
  if (refused_) return linger();
  if (server_.stopping) return close("encerramento do servidor");
  if (thenClose) return close("saudação recusada");
  armTimer(server_.options.idleTimeoutMs);
  readHeader();
}

void RpcServer::Impl::Connection::linger() {
  // Closing with the client's hello unread could reset the connection before
  // the client reads the refusal; so half-close and wait for its own close.
  asio::error_code ignored;
  socket_.shutdown(Socket::shutdown_send, ignored);
  armTimer(kRefusalLingerMs);
  body_.resize(512);
  socket_.async_read_some(asio::buffer(body_), [self = shared_from_this()](const asio::error_code& ec, std::size_t) {
    if (ec || self->closed_) return self->close("recusada: limite de conexões");
    self->linger();
  });
}

void RpcServer::Impl::Connection::stopWhenIdle() {
  if (!busy_) close("encerramento do servidor");
}

std::string RpcServer::Impl::Connection::PeerOf(const Socket& socket) {
  asio::error_code ec;
  const auto endpoint = socket.remote_endpoint(ec);
  return ec ? std::string("?") : endpoint.address().to_string() + ":" + std::to_string(endpoint.port());
}

void RpcServer::Impl::Connection::closeAfter(const asio::error_code& ec) {
  close(!ec || ec == asio::error::eof || ec == asio::error::connection_reset ? "pelo cliente"
                                                                            : ec.message());
}

void RpcServer::Impl::Connection::close(const std::string& why) {
  if (closed_) return;
  closed_ = true;
  if (!refused_) {
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - opened_).count();
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.1f s", seconds);
    server_.say(ServerLog::Level::Info, "conexão " + peer_ + " encerrada (" + why + ") após " + duration);
  }
  stopTimer();
  // A worker holding the descriptor finds it shut and hands it back to be closed.
  if (lentFd_ >= 0) ::shutdown(lentFd_, SHUT_RDWR);
  asio::error_code ignored;
  socket_.shutdown(Socket::shutdown_both, ignored);
  socket_.close(ignored);
  server_.forget(shared_from_this());
}

RpcServer::Stats RpcServer::stats() const {
  Stats s;
  const std::size_t open = impl_->openConnections, anonymous = impl_->openAnonymous;
  s.anonymousConnections = std::min(anonymous, open);
  s.loggedInConnections = open - s.anonymousConnections;
  s.refusedConnections = impl_->refusedConnections;
  const int queued = impl_->callsQueued;
  s.queuedCalls = queued > 0 ? static_cast<std::size_t>(queued) : 0;
  return s;
}

std::string RpcServer::BusyMessage(std::size_t maxConnections) {
  return "Servidor de aplicação ocupado: o limite de " + std::to_string(maxConnections) +
         " conexões foi atingido. Tente novamente em instantes.";
}

void RpcServer::Impl::acceptNext() {
  acceptor.async_accept([this](const asio::error_code& ec, Socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor.is_open() || stopping) return;
    if (ec) {
      // Out of descriptors or memory: the pending client waits in the
      // backlog until a connection ends.
      say(ServerLog::Level::Error, "falha ao aceitar conexão: " + ec.message());
      retryTimer.expires_after(kAcceptRetry);
      retryTimer.async_wait([this](const asio::error_code& e) {
        if (!e && acceptor.is_open() && !stopping) acceptNext();
      });
      return;
    }
    try {
      admit(std::move(socket));
    } catch (const std::exception& e) {
      // That client is dropped (its socket closes with it); the others carry on.
      say(ServerLog::Level::Error, std::string("falha ao admitir conexão: ") + e.what());
    }
    acceptNext();
  });
}

bool RpcServer::Impl::makeRoom(const std::string& address) {
  const std::size_t places = capacity();
  const std::size_t anonymousPlaces = places - std::min(options.reservedForLoggedIn, places / 2);
  const auto idle = [](const std::shared_ptr<Connection>& c) { return !c->busy(); };
  for (;;) {
    const bool addressFull = anonymous.countOf(address) >= options.maxAnonymousPerAddress;
    const bool full = anonymous.size() >= anonymousPlaces || connections.size() - refusing >= places;
    if (!addressFull && !full) return true;
    const auto displaced = anonymous.displaceable(idle, addressFull ? address : std::string());
    if (!displaced) return false;
    (*displaced)->close(addressFull ? "substituída: limite de " + std::to_string(options.maxAnonymousPerAddress) +
                                          " conexões sem login por endereço"
                                    : std::string("substituída: limite de conexões sem login"));
  }
}

void RpcServer::Impl::admit(Socket socket) {
  const std::string address = AddressOf(socket);
  const bool room = makeRoom(address);
  // Without a descriptor to spare even a refusal could starve the storage.
  if (connections.size() >= DescriptorBudget(options.workerThreads)) {
    ++refusedConnections;
    say(ServerLog::Level::Warning, "conexão " + Connection::PeerOf(socket) + " fechada: descritores esgotados");
    return;
  }
  const bool full = !room;
  if (full) ++refusedConnections;
  if (full && refusing >= kMaxRefusing) {
    say(ServerLog::Level::Warning, "conexão " + Connection::PeerOf(socket) + " fechada: limite de conexões");
    return;
  }
  auto c = std::make_shared<Connection>(*this, std::move(socket), full);
  connections.insert(c);
  if (!full) anonymous.add(c, c->address());
  if (full) {
    ++refusing;
    say(ServerLog::Level::Warning, "conexão " + c->peer() + " recusada: limite de " +
                                       std::to_string(options.maxConnections) + " conexões");
  } else {
    say(ServerLog::Level::Info, "conexão " + c->peer() + " aberta (" + std::to_string(connections.size() - refusing) +
                                    " abertas)");
  }
  publishCounts();
  c->start();
}

void RpcServer::Impl::forget(const std::shared_ptr<Connection>& c) {
  if (!c->loggedIn()) anonymous.remove(c, c->address());
  if (connections.erase(c) > 0 && c->refused()) --refusing;
  publishCounts();
  finishIfDone();
}

void RpcServer::Impl::beginShutdown() {
  if (stopping) return;
  stopping = true;
  say(ServerLog::Level::Info, "encerrando: " + std::to_string(connections.size()) + " conexões abertas");
  asio::error_code ignored;
  acceptor.close(ignored);
  retryTimer.cancel();
  for (const auto& c : std::set<std::shared_ptr<Connection>>(connections)) c->stopWhenIdle();
  graceTimer.expires_after(std::chrono::milliseconds(options.shutdownGraceMs));
  graceTimer.async_wait([this](const asio::error_code& ec) {
    if (ec) return;
    for (const auto& c : std::set<std::shared_ptr<Connection>>(connections))
      c->close("encerramento do servidor: fim do prazo de " + std::to_string(options.shutdownGraceMs) + " ms");
  });
  finishIfDone();
}

void RpcServer::Impl::finishIfDone() {
  if (!stopping || !connections.empty()) return;
  graceTimer.cancel();
  keepRunning.reset();
}

wire::Response RpcServer::Impl::answer(const wire::Request& request, RpcConnection& connection, bool& fault) const {
  wire::Response response;
  response.id = request.id;
  std::vector<Variant> args = request.args;
  connection.requestKey = request.key;
  const auto failed = [&](const std::string& detail) {
    static std::atomic<std::uint64_t> incidents{0};
    const std::uint64_t incident = ++incidents;
    fault = true;
    say(ServerLog::Level::Error, "chamada " + PrintableText(request.method) + " de " + connection.peer + " falhou (ocorrência " +
                                     std::to_string(incident) + "): " + PrintableText(detail, kLoggedRefusalChars));
    response.error = FaultAnswer(incident);
  };
  try {
    response.result = handler(connection, request.method, args);
    response.ok = true;
    response.updates = wire::ChangedArgs(request.args, args);
  } catch (const Refusal& e) {
    response.error = e.what();
  } catch (const std::exception& e) {
    failed(e.what());
  } catch (...) {
    failed("falha desconhecida");
  }
  return response;
}

std::string RpcServer::Impl::process(const std::string& body, RpcConnection& connection) const {
  const std::string& peer = connection.peer;
  // Decoding costs many times the bytes it reads; a body of too many values
  // is dropped before any of them is built.
  if (wire::CountValues(body, options.maxValuesPerRequest) > options.maxValuesPerRequest) {
    say(ServerLog::Level::Warning, "conexão " + peer + ": requisição com mais de " +
                                       std::to_string(options.maxValuesPerRequest) + " valores");
    return {};
  }
  const auto begun = std::chrono::steady_clock::now();
  wire::Response response;
  std::string method = "?";
  bool fault = false;
  try {
    wire::Request request = wire::DecodeRequest(body);
    method = PrintableText(request.method);
    response = answer(request, connection, fault);
  } catch (const wire::BadRequest& e) {
    response.id = e.id;
    response.error = std::string("Requisição inválida: ") + e.what();
  } catch (const std::exception&) {
    say(ServerLog::Level::Warning, "conexão " + peer + ": mensagem que não é uma requisição");
    return {};
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begun).count();
  // Put into words only when the log keeps it: most calls are answered fast.
  const auto what = [&] { return method + " de " + peer + " em " + std::to_string(ms) + " ms"; };
  if (ms > options.slowCallMs) say(ServerLog::Level::Warning, "chamada lenta: " + what());
  if (!response.ok && !fault) say(ServerLog::Level::Info, "chamada " + what() + " recusada: " + PrintableText(response.error, kLoggedRefusalChars));
  else if (options.log && options.log->enabled(ServerLog::Level::Debug)) say(ServerLog::Level::Debug, "chamada " + what());
  std::string out = wire::EncodeResponse(response);
  if (out.size() > options.maxFrameBytes) {
    say(ServerLog::Level::Warning, "resposta de " + std::to_string(out.size()) + " bytes a " + what() + " excede o limite");
    response = wire::Response{response.id, false, Variant(),
                              "Resposta de " + std::to_string(out.size()) + " bytes excede o limite de uma mensagem.", {}};
    out = wire::EncodeResponse(response);
  }
  return out;
}

void RpcServer::Impl::startLoginPool() {
  loginWork.emplace(loginIo.get_executor());
  for (std::size_t i = 0; i < std::max<std::size_t>(1, options.loginThreads); ++i)
    loginThreads.emplace_back([this] {
      // Password checks are slow on purpose; a logged-in client's call
      // waking on the same processors goes first.
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLoginPoolNiceness);
      loginIo.run();
    });
}

void RpcServer::Impl::stopLoginPool() {
  loginWork.reset();
  for (std::thread& t : loginThreads) t.join();
  loginThreads.clear();
}

const char* RpcServer::TlsCipherList() {
  return "ECDHE+AESGCM:ECDHE+CHACHA20:!aNULL:!eNULL:!DSS:!PSK:!SRP";
}

bool RpcServer::listensOnLoopback() const {
  asio::error_code ec;
  const auto endpoint = impl_->acceptor.local_endpoint(ec);
  return !ec && endpoint.address().is_loopback();
}

RpcServer::RpcServer(RpcConnectionHandler handler, RpcServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(handler), std::move(options))) {}

RpcServer::RpcServer(RpcHandler handler, RpcServerOptions options)
    : RpcServer(RpcConnectionHandler([handler = std::move(handler)](RpcConnection&, const std::string& method,
                                                                     std::vector<Variant>& args) {
                  return handler(method, args);
                }),
                std::move(options)) {}

RpcServer::~RpcServer() { stop(); }

std::uint16_t RpcServer::listen(const std::string& host, std::uint16_t port) {
  asio::ip::tcp::resolver resolver(impl_->io);
  auto endpoints = resolver.resolve(host, std::to_string(port), asio::ip::tcp::resolver::passive);
  asio::ip::tcp::endpoint endpoint = endpoints.begin()->endpoint();
  auto& acceptor = impl_->acceptor;
  acceptor.open(endpoint.protocol());
  acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true));
  acceptor.bind(endpoint);
  acceptor.listen();
  return acceptor.local_endpoint().port();
}

void RpcServer::run() {
  Impl& s = *impl_;
  if (s.stopRequested) return;
  s.workers.emplace(std::max<std::size_t>(1, s.options.workerThreads));
  s.startLoginPool();
  s.keepRunning.emplace(s.io.get_executor());
  asio::post(s.io, [&s] {
    if (s.acceptor.is_open()) s.acceptNext();
  });
  for (;;) {
    try {
      s.io.run();
      break;
    } catch (const std::exception& e) {
      // A failure inside one connection's handler ends that step only.
      s.say(ServerLog::Level::Error, std::string("falha no serviço de uma conexão: ") + e.what());
    }
  }
  s.workers->join();
  s.stopLoginPool();
  // Answers of calls that outlived the grace period arrive for connections
  // already closed; let them see that.
  s.io.restart();
  s.io.poll();
}

void RpcServer::stop() {
  impl_->stopRequested = true;
  asio::post(impl_->io, [impl = impl_.get()] { impl->beginShutdown(); });
}
