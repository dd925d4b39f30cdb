#include "net/rpc_server_connection.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include "net/printable_text.h"

namespace {

// Received bytes are read into the body at most this much ahead of what has
// arrived, so an announced length costs nothing until its bytes come.
constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr int kRefusalLingerMs = 1000;
// How long a worker that has answered waits for the same client's next call:
// the socket's receive time-out, rounded up by the kernel to a clock tick (a
// few milliseconds at most). A receive time-out costs far less than a poll()
// with one, which arms a high-resolution timer at every call.
constexpr timeval kNextRequestWait{0, 1000};

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

bool SameServerName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

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

std::string RpcServer::Impl::Connection::AddressOf(const Socket& socket) {
  asio::error_code ec;
  const auto endpoint = socket.remote_endpoint(ec);
  return ec ? std::string("?") : endpoint.address().to_string();
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
