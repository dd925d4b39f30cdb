#include "frame_channel.h"

#include <poll.h>
#include <sys/socket.h>

#include <array>

#include "net/wire_codec.h"

namespace wire {

FrameChannel::FrameChannel(std::uint32_t maxFrameBytes) : maxFrameBytes_(maxFrameBytes), socket_(io_) {}

FrameChannel::~FrameChannel() { close(); }

void FrameChannel::setTick(std::function<void()> tick, std::chrono::milliseconds interval) {
  tick_ = std::move(tick);
  tickInterval_ = interval;
}

void FrameChannel::setNoDelay() {
  // Small request/answer exchanges would otherwise wait on delayed ACKs.
  asio::error_code ec;
  socket_.set_option(asio::ip::tcp::no_delay(true), ec);
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

void FrameChannel::fail(const asio::error_code& ec) {
  asio::error_code ignored;
  socket_.close(ignored);
  if (ec == asio::error::eof || ec == asio::error::connection_reset || ec == asio::error::operation_aborted ||
      ec == asio::error::broken_pipe || ec == asio::error::bad_descriptor)
    throw ChannelError(ChannelError::Reason::Closed, ec.message());
  throw ChannelError(ChannelError::Reason::Io, ec.message());
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
  socket_ = std::move(socket);
  setNoDelay();
}

void FrameChannel::writeFrame(const std::string& body, Clock::time_point deadline) {
  if (body.size() > maxFrameBytes_)
    throw ChannelError(ChannelError::Reason::FrameTooBig, "mensagem de " + std::to_string(body.size()) + " bytes");
  char header[kFrameHeaderBytes];
  PutFrameLength(header, static_cast<std::uint32_t>(body.size()));
  std::array<asio::const_buffer, 2> buffers{asio::buffer(header), asio::buffer(body)};
  bool done = false;
  asio::error_code result;
  asio::async_write(socket_, buffers, [&](const asio::error_code& ec, std::size_t) {
    result = ec;
    done = true;
  });
  awaitSocketOp(done, deadline);
  if (result) fail(result);
}

void FrameChannel::waitReadable() {
  bool done = false;
  asio::error_code result;
  socket_.async_wait(asio::ip::tcp::socket::wait_read, [&](const asio::error_code& ec) {
    result = ec;
    done = true;
  });
  awaitSocketOp(done, Clock::time_point::max());
  if (result) fail(result);
}

std::string FrameChannel::readFrame(Clock::time_point deadline) {
  char header[kFrameHeaderBytes];
  bool done = false;
  asio::error_code result;
  asio::async_read(socket_, asio::buffer(header), [&](const asio::error_code& ec, std::size_t) {
    result = ec;
    done = true;
  });
  awaitSocketOp(done, deadline);
  if (result) fail(result);

  std::uint32_t length = FrameLength(header);
  if (length > maxFrameBytes_) {
    close();
    throw ChannelError(ChannelError::Reason::FrameTooBig, "mensagem de " + std::to_string(length) + " bytes");
  }
  std::string body(length, '\0');
  if (length == 0) return body;
  done = false;
  asio::async_read(socket_, asio::buffer(body), [&](const asio::error_code& ec, std::size_t) {
    result = ec;
    done = true;
  });
  awaitSocketOp(done, deadline);
  if (result) fail(result);
  return body;
}

bool FrameChannel::peerClosed() {
  if (!socket_.is_open()) return true;
  pollfd p{socket_.native_handle(), POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return false;
  if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return true;
  char byte;
  return ::recv(socket_.native_handle(), &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

void FrameChannel::close() {
  asio::error_code ignored;
  if (socket_.is_open()) {
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
  }
}

void FrameChannel::closeSoon() {
  asio::post(io_, [this] { close(); });
}

}  // namespace wire
