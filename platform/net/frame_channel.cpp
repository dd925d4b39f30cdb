#include "frame_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "net/wire_codec.h"

namespace wire {

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
  setNoDelay();
}

void FrameChannel::adopt(asio::ip::tcp::socket socket) {
  close();
  {
    std::lock_guard lock(closeMutex_);
    socket_ = std::move(socket);
  }
  setNoDelay();
}

void FrameChannel::setNoDelay() {
  // Small request/answer exchanges would otherwise wait on delayed ACKs.
  asio::error_code ec;
  socket_.set_option(asio::ip::tcp::no_delay(true), ec);
  // Reads and writes go straight to the socket and wait in poll(), which
  // bounds every wait; this costs far fewer system calls per call than the
  // reactor does.
  socket_.non_blocking(true, ec);
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

std::size_t FrameChannel::receive(char* into, std::size_t size, Clock::time_point deadline) {
  for (;;) {
    ssize_t n = ::recv(socket_.native_handle(), into, size, 0);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n == 0) {
      close();
      throw ChannelError(ChannelError::Reason::Closed, "conexão encerrada pelo outro lado");
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) failErrno(errno);
    waitFor(POLLIN, deadline);
  }
}

void FrameChannel::writeFrame(const std::string& body, Clock::time_point deadline) {
  if (body.size() > maxFrameBytes_)
    throw ChannelError(ChannelError::Reason::FrameTooBig, "mensagem de " + std::to_string(body.size()) + " bytes");
  if (!socket_.is_open()) throw ChannelError(ChannelError::Reason::Closed, "conexão fechada");
  char header[kFrameHeaderBytes];
  PutFrameLength(header, static_cast<std::uint32_t>(body.size()));
  iovec parts[2] = {{header, sizeof header}, {const_cast<char*>(body.data()), body.size()}};
  iovec* iov = parts;
  int count = body.empty() ? 1 : 2;
  while (count > 0) {
    msghdr msg{};
    msg.msg_iov = iov;
    msg.msg_iovlen = static_cast<std::size_t>(count);
    ssize_t n = ::sendmsg(socket_.native_handle(), &msg, MSG_NOSIGNAL);
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
  if (inEnd_ > inBegin_) return;
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
  pollfd p{socket_.native_handle(), POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

void FrameChannel::close() {
  std::lock_guard lock(closeMutex_);
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
