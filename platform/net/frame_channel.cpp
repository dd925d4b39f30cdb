#include "frame_channel.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "net/wire_codec.h"

namespace wire {

namespace {

// OpenSSL writes to the socket with write(), which raises SIGPIPE when the
// peer has gone; a library must not end its host process for that. While
// one lives, SIGPIPE is blocked on this thread, and one raised meanwhile is
// taken off before it is unblocked; the failed write reports EPIPE instead.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
  }
  ~SigpipeBlock() {
    sigset_t pending;
    sigpending(&pending);
    if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
      const timespec none{0, 0};
      while (sigtimedwait(&pipe_, nullptr, &none) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeBlock(const SigpipeBlock&) = delete;
  SigpipeBlock& operator=(const SigpipeBlock&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t saved_{};
  bool wasPending_ = false;
};

}  // namespace

FrameChannel::FrameChannel(std::uint32_t maxFrameBytes)
    : maxFrameBytes_(maxFrameBytes), socket_(io_), in_(kInputBufferBytes) {}

FrameChannel::~FrameChannel() { close(); }

void FrameChannel::setTick(std::function<void()> tick, std::chrono::milliseconds interval) {
  tick_ = std::move(tick);
  tickInterval_ = interval;
}

bool FrameChannel::runUntil(const bool& done, Clock::time_point deadline) {
  io_.restart();
  Clock::time_point nextTick = Clock::now() + tickInterval_;
  while (!done) {
    Clock::time_point now = Clock::now();
    if (now >= deadline) return false;
    if (tick_ && now >= nextTick) {
      tick_();
      nextTick = Clock::now() + tickInterval_;
      continue;
    }
    Clock::time_point until = deadline;
    if (tick_ && nextTick < until) until = nextTick;
    if (until - now > std::chrono::hours(1)) until = now + std::chrono::hours(1);
    io_.run_one_until(until);
    if (io_.stopped()) io_.restart();
  }
  return true;
}

void FrameChannel::awaitSocketOp(const bool& done, Clock::time_point deadline) {
  if (runUntil(done, deadline)) return;
  // Abort the pending operation and let its handler run before reporting,
  // since it refers to the caller's locals.
  asio::error_code ec;
  socket_.close(ec);
  io_.restart();
  io_.run();
  throw ChannelError(ChannelError::Reason::TimedOut, "tempo esgotado");
}

asio::ip::tcp::resolver::results_type FrameChannel::resolve(const std::string& host, std::uint16_t port,
                                                              Clock::time_point deadline) {
  asio::error_code ec;
  asio::ip::address numeric = asio::ip::make_address(host, ec);
  if (!ec)
    return asio::ip::tcp::resolver::results_type::create(asio::ip::tcp::endpoint(numeric, port), host,
                                                         std::to_string(port));
  // A name lookup cannot be interrupted; on time-out it is abandoned and its
  // late answer lands in state that it shares, not in this frame.
  struct Lookup {
    bool done = false;
    asio::error_code ec;
    asio::ip::tcp::resolver::results_type found;
  };
  auto lookup = std::make_shared<Lookup>();
  asio::ip::tcp::resolver resolver(io_);
  resolver.async_resolve(host, std::to_string(port), [lookup](const asio::error_code& e, auto found) {
    lookup->ec = e;
    lookup->found = std::move(found);
    lookup->done = true;
  });
  if (!runUntil(lookup->done, deadline)) {
    resolver.cancel();
    throw ChannelError(ChannelError::Reason::TimedOut, "tempo esgotado");
  }
  if (lookup->ec) throw ChannelError(ChannelError::Reason::ConnectFailed, lookup->ec.message());
  return lookup->found;
}

void FrameChannel::connect(const std::string& host, std::uint16_t port, Clock::time_point deadline) {
  close();
  asio::ip::tcp::resolver::results_type endpoints = resolve(host, port, deadline);
  bool done = false;
  asio::error_code result;
  asio::async_connect(socket_, endpoints, [&](const asio::error_code& ec, const asio::ip::tcp::endpoint&) {
    result = ec;
    done = true;
  });
  awaitSocketOp(done, deadline);
  if (result) {
    asio::error_code ignored;
    socket_.close(ignored);
    throw ChannelError(ChannelError::Reason::ConnectFailed, result.message());
  }
  configureSocket();
}

void FrameChannel::adopt(asio::ip::tcp::socket socket) {
  close();
  {
    std::lock_guard lock(closeMutex_);
    socket_ = std::move(socket);
  }
  configureSocket();
}

void FrameChannel::configureSocket() {
  // Small request/answer exchanges would otherwise wait on delayed ACKs.
  asio::error_code ec;
  socket_.set_option(asio::ip::tcp::no_delay(true), ec);
  // Reads and writes go straight to the socket, which costs far fewer system
  // calls per call than the reactor does. A receive blocks for a slice of
  // the wait at a time (the socket's receive time-out): one system call
  // waits and reads, with no timer to arm per call as poll() would.
  waitSlice_ = tick_ ? std::min(tickInterval_, kLongestWaitSlice) : kLongestWaitSlice;
  const auto slice = std::chrono::duration_cast<std::chrono::microseconds>(waitSlice_).count();
  const timeval timeout{static_cast<time_t>(slice / 1000000), static_cast<suseconds_t>(slice % 1000000)};
  ::setsockopt(socket_.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  socket_.non_blocking(false, ec);
  inBegin_ = inEnd_ = 0;
}

[[noreturn]] void FrameChannel::failErrno(int err) {
  close();
  if (err == EPIPE || err == ECONNRESET || err == EBADF || err == ENOTCONN || err == ESHUTDOWN)
    throw ChannelError(ChannelError::Reason::Closed, std::strerror(err));
  throw ChannelError(ChannelError::Reason::Io, std::strerror(err));
}

void FrameChannel::waitFor(short events, Clock::time_point deadline) {
  pollfd p{socket_.native_handle(), events, 0};
  for (;;) {
    Clock::time_point now = Clock::now();
    if (now >= deadline) {
      close();  // a frame may be half read or half written: the stream is lost
      throw ChannelError(ChannelError::Reason::TimedOut, "tempo esgotado");
    }
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    if (tick_ && wait > tickInterval_) wait = tickInterval_;
    if (wait > std::chrono::hours(1)) wait = std::chrono::hours(1);
    int n = ::poll(&p, 1, static_cast<int>(wait.count()));
    if (n > 0) return;  // ready, or an error the next read or write reports
    if (n < 0 && errno != EINTR) failErrno(errno);
    if (n == 0 && tick_) tick_();
  }
}

void FrameChannel::startTls(const std::string& host, const std::string& caFile, Clock::time_point deadline) {
  freeTls();
  const auto fail = [this](const std::string& why) {
    close();
    throw ChannelError(ChannelError::Reason::ConnectFailed, why);
  };
  sslContext_ = SSL_CTX_new(TLS_client_method());
  if (!sslContext_) fail("TLS indisponível");
  SSL_CTX_set_min_proto_version(sslContext_, TLS1_2_VERSION);
  SSL_CTX_set_verify(sslContext_, SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_default_verify_paths(sslContext_);
  if (!caFile.empty() && SSL_CTX_load_verify_locations(sslContext_, caFile.c_str(), nullptr) != 1)
    fail("não foi possível ler o certificado da CA " + caFile);
  // OpenSSL's reads and writes never block: they say what they wait for,
  // and the wait happens in poll().
  asio::error_code ec;
  socket_.non_blocking(true, ec);
  ssl_ = SSL_new(sslContext_);
  if (!ssl_ || SSL_set_fd(ssl_, socket_.native_handle()) != 1) fail("TLS indisponível");
  // The certificate must name the host as the user wrote it: an address or a name.
  asio::error_code notAnAddress;
  asio::ip::make_address(host, notAnAddress);
  if (!notAnAddress) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str());
  } else {
    SSL_set_tlsext_host_name(ssl_, host.c_str());
    SSL_set1_host(ssl_, host.c_str());
  }
  for (;;) {
    ERR_clear_error();
    int r = 0;
    {
      SigpipeBlock quiet;
      r = SSL_connect(ssl_);
    }
    if (r == 1) return;
    const int error = SSL_get_error(ssl_, r);
    if (error == SSL_ERROR_WANT_READ) {
      waitFor(POLLIN, deadline);
    } else if (error == SSL_ERROR_WANT_WRITE) {
      waitFor(POLLOUT, deadline);
    } else {
      const long verify = SSL_get_verify_result(ssl_);
      if (verify != X509_V_OK)
        fail(std::string("certificado do servidor não aceito: ") + X509_verify_cert_error_string(verify));
      char text[256] = "o servidor não negociou TLS";
      if (const unsigned long e = ERR_peek_error(); e != 0) ERR_error_string_n(e, text, sizeof text);
      fail(std::string("falha na negociação TLS: ") + text);
    }
  }
}

void FrameChannel::awaitTls(int result, Clock::time_point deadline) {
  const int error = SSL_get_error(ssl_, result);
  if (error == SSL_ERROR_WANT_READ) return waitFor(POLLIN, deadline);
  if (error == SSL_ERROR_WANT_WRITE) return waitFor(POLLOUT, deadline);
  const int saved = errno;
  close();
  if (error == SSL_ERROR_ZERO_RETURN || (error == SSL_ERROR_SYSCALL && (saved == 0 || saved == ECONNRESET || saved == EPIPE)))
    throw ChannelError(ChannelError::Reason::Closed, "conexão encerrada pelo outro lado");
  throw ChannelError(ChannelError::Reason::Io, "falha de TLS");
}

void FrameChannel::freeTls() {
  if (ssl_) SSL_free(ssl_);
  if (sslContext_) SSL_CTX_free(sslContext_);
  ssl_ = nullptr;
  sslContext_ = nullptr;
}

void FrameChannel::send(const char* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    ERR_clear_error();
    errno = 0;
    int n = 0;
    {
      SigpipeBlock quiet;
      n = SSL_write(ssl_, data, static_cast<int>(std::min<std::size_t>(size, 1u << 30)));
    }
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
      continue;
    }
    awaitTls(n, deadline);
  }
}

std::size_t FrameChannel::receive(char* into, std::size_t size, Clock::time_point deadline) {
  while (ssl_) {
    ERR_clear_error();
    errno = 0;
    int n = 0;
    {
      SigpipeBlock quiet;  // a read may write too (a key update)
      n = SSL_read(ssl_, into, static_cast<int>(std::min<std::size_t>(size, 1u << 30)));
    }
    if (n > 0) return static_cast<std::size_t>(n);
    awaitTls(n, deadline);
  }
  for (;;) {
    // Waits of a whole slice block in the receive itself; the last, shorter
    // one waits in poll() so the deadline is kept to the millisecond.
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      close();  // a frame may be half read: the stream is lost
      throw ChannelError(ChannelError::Reason::TimedOut, "tempo esgotado");
    }
    const bool wholeSlice = deadline - now > waitSlice_;
    ssize_t n = ::recv(socket_.native_handle(), into, size, wholeSlice ? 0 : MSG_DONTWAIT);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n == 0) {
      close();
      throw ChannelError(ChannelError::Reason::Closed, "conexão encerrada pelo outro lado");
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) failErrno(errno);
    if (!wholeSlice) waitFor(POLLIN, deadline);
    else if (tick_) tick_();  // a slice has passed with nothing
  }
}

void FrameChannel::writeFrame(const std::string& body, Clock::time_point deadline) {
  if (body.size() > maxFrameBytes_)
    throw ChannelError(ChannelError::Reason::FrameTooBig, "mensagem de " + std::to_string(body.size()) + " bytes");
  if (!socket_.is_open()) throw ChannelError(ChannelError::Reason::Closed, "conexão fechada");
  char header[kFrameHeaderBytes];
  PutFrameLength(header, static_cast<std::uint32_t>(body.size()));
  if (ssl_) {
    send(header, sizeof header, deadline);
    send(body.data(), body.size(), deadline);
    return;
  }
  iovec parts[2] = {{header, sizeof header}, {const_cast<char*>(body.data()), body.size()}};
  iovec* iov = parts;
  int count = body.empty() ? 1 : 2;
  while (count > 0) {
    msghdr msg{};
    msg.msg_iov = iov;
    msg.msg_iovlen = static_cast<std::size_t>(count);
    ssize_t n = ::sendmsg(socket_.native_handle(), &msg, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) failErrno(errno);
      waitFor(POLLOUT, deadline);
      continue;
    }
    auto left = static_cast<std::size_t>(n);
    while (count > 0 && left >= iov->iov_len) {
      left -= iov->iov_len;
      ++iov;
      --count;
    }
    if (count > 0) {
      iov->iov_base = static_cast<char*>(iov->iov_base) + left;
      iov->iov_len -= left;
    }
  }
}

void FrameChannel::waitReadable() {
  if (inEnd_ > inBegin_ || (ssl_ && SSL_pending(ssl_) > 0)) return;
  if (!socket_.is_open()) throw ChannelError(ChannelError::Reason::Closed, "conexão fechada");
  waitFor(POLLIN, Clock::time_point::max());
}

std::string FrameChannel::readFrame(Clock::time_point deadline) {
  if (!socket_.is_open()) throw ChannelError(ChannelError::Reason::Closed, "conexão fechada");
  while (inEnd_ - inBegin_ < kFrameHeaderBytes) {
    if (inBegin_ > 0) {
      std::memmove(in_.data(), in_.data() + inBegin_, inEnd_ - inBegin_);
      inEnd_ -= inBegin_;
      inBegin_ = 0;
    }
    inEnd_ += receive(in_.data() + inEnd_, in_.size() - inEnd_, deadline);
  }
  std::uint32_t length = FrameLength(in_.data() + inBegin_);
  if (length > maxFrameBytes_) {
    close();
    throw ChannelError(ChannelError::Reason::FrameTooBig, "mensagem de " + std::to_string(length) + " bytes");
  }
  inBegin_ += kFrameHeaderBytes;
  // The body grows as its bytes arrive: an announced length alone costs nothing.
  std::size_t have = std::min<std::size_t>(length, inEnd_ - inBegin_);
  std::string body(in_.data() + inBegin_, have);
  inBegin_ += have;
  if (inBegin_ == inEnd_) inBegin_ = inEnd_ = 0;
  while (have < length) {
    const std::size_t chunk = std::min<std::size_t>(length - have, std::max(have, kInputBufferBytes));
    body.resize(have + chunk);
    have += receive(body.data() + have, chunk, deadline);
    body.resize(have);
  }
  return body;
}

bool FrameChannel::peerClosed() {
  if (!socket_.is_open() || inEnd_ > inBegin_) return true;  // unasked-for bytes spoil the stream too
  if (ssl_ && SSL_pending(ssl_) > 0) return true;
  pollfd p{socket_.native_handle(), POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return false;
  if (!ssl_) return true;
  // Under TLS the server may send records that carry no data (session
  // tickets); only data or a close means the connection is spoilt.
  char byte;
  ERR_clear_error();
  const int n = SSL_peek(ssl_, &byte, 1);
  return n > 0 || SSL_get_error(ssl_, n) != SSL_ERROR_WANT_READ;
}

void FrameChannel::close() {
  std::lock_guard lock(closeMutex_);
  freeTls();
  asio::error_code ignored;
  if (socket_.is_open()) {
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
  }
  inBegin_ = inEnd_ = 0;
}

void FrameChannel::closeSoon() {
  // Shutting down wakes a poll() in progress on the owner's thread; the owner
  // closes the descriptor itself, so it is never reused under its feet.
  std::lock_guard lock(closeMutex_);
  if (socket_.is_open()) ::shutdown(socket_.native_handle(), SHUT_RDWR);
}

}  // namespace wire
