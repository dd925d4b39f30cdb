#include "rpc_server.h"

#include <atomic>
#include <chrono>
#include <list>
#include <mutex>
#include <strings.h>
#include <thread>

#include "net/frame_channel.h"
#include "net/wire_codec.h"

namespace {

// One client, served on its own thread so that a handler blocked on storage
// delays nobody else.
struct Session {
  explicit Session(std::uint32_t maxFrameBytes) : channel(maxFrameBytes) {}
  wire::FrameChannel channel;
  std::thread thread;
  std::atomic<bool> finished{false};
};

bool SameServerName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

struct RpcServer::Impl {
  Impl(RpcHandler h, RpcServerOptions o)
      : handler(std::move(h)), options(std::move(o)), acceptor(acceptIo), retryTimer(acceptIo) {}

  RpcHandler handler;
  RpcServerOptions options;
  asio::io_context acceptIo;
  asio::ip::tcp::acceptor acceptor;
  asio::steady_timer retryTimer;  // after a failed accept (say, out of descriptors)
  std::mutex mutex;
  std::list<std::shared_ptr<Session>> sessions;  // guarded by mutex
  bool stopping = false;                         // guarded by mutex

  wire::Clock::time_point readDeadline() const {
    return wire::Clock::now() + std::chrono::milliseconds(options.readTimeoutMs);
  }

  void acceptNext();
  void serve(Session& s);
  bool greet(Session& s);
  wire::Response answer(const wire::Request& request);
  void reapFinished();
  void joinAll();
};

void RpcServer::Impl::acceptNext() {
  auto session = std::make_shared<Session>(options.maxFrameBytes);
  acceptor.async_accept(session->channel.context(), [this, session](const asio::error_code& ec,
                                                                     asio::ip::tcp::socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor.is_open()) return;
    if (ec) {
      retryTimer.expires_after(std::chrono::milliseconds(100));
      retryTimer.async_wait([this](const asio::error_code& e) {
        if (!e && acceptor.is_open()) acceptNext();
      });
      return;
    }
    {
      std::lock_guard lock(mutex);
      if (stopping) return;
      session->channel.adopt(std::move(socket));
      sessions.push_back(session);
      session->thread = std::thread([this, session] {
        serve(*session);
        session->finished = true;
      });
    }
    reapFinished();
    acceptNext();
  });
}

bool RpcServer::Impl::greet(Session& s) {
  wire::Hello hello = wire::DecodeHello(s.channel.readFrame(readDeadline()));
  if (!SameServerName(hello.serverName, options.serverName)) {
    s.channel.writeFrame(wire::EncodeHelloReply({false, "Servidor desconhecido: " + hello.serverName}),
                         readDeadline());
    return false;
  }
  s.channel.writeFrame(wire::EncodeHelloReply({true, ""}), readDeadline());
  return true;
}

wire::Response RpcServer::Impl::answer(const wire::Request& request) {
  wire::Response response;
  response.id = request.id;
  std::vector<Variant> args = request.args;
  try {
    response.result = handler(request.method, args);
    response.ok = true;
    response.updates = wire::ChangedArgs(request.args, args);
  } catch (const std::exception& e) {
    response.error = e.what();
  } catch (...) {
    response.error = "Erro desconhecido no servidor de aplicação.";
  }
  return response;
}

void RpcServer::Impl::serve(Session& s) {
  try {
    if (!greet(s)) {
      s.channel.close();
      return;
    }
    for (;;) {
      // Idle clients may wait as long as they like between calls; a frame
      // once begun must arrive within the read time limit.
      s.channel.waitReadable();
      std::string body = s.channel.readFrame(readDeadline());
      wire::Response response;
      try {
        response = answer(wire::DecodeRequest(body));
      } catch (const wire::BadRequest& e) {
        response.id = e.id;
        response.error = std::string("Requisição inválida: ") + e.what();
      }
      std::string out = wire::EncodeResponse(response);
      if (out.size() > options.maxFrameBytes) {
        response = wire::Response{response.id, false, Variant(), "Resposta de " + std::to_string(out.size()) +
                                  " bytes excede o limite de uma mensagem.", {}};
        out = wire::EncodeResponse(response);
      }
      s.channel.writeFrame(out, readDeadline());
    }
  } catch (...) {
    // A closed, garbled, oversized or stalled connection ends this session
    // only; the others carry on.
  }
  s.channel.close();
}

void RpcServer::Impl::reapFinished() {
  std::list<std::shared_ptr<Session>> done;
  {
    std::lock_guard lock(mutex);
    for (auto it = sessions.begin(); it != sessions.end();) {
      if ((*it)->finished) {
        done.push_back(*it);
        it = sessions.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& s : done)
    if (s->thread.joinable()) s->thread.join();
}

void RpcServer::Impl::joinAll() {
  std::list<std::shared_ptr<Session>> all;
  {
    std::lock_guard lock(mutex);
    all.swap(sessions);
  }
  for (auto& s : all)
    if (s->thread.joinable()) s->thread.join();
}

RpcServer::RpcServer(RpcHandler handler, RpcServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(handler), std::move(options))) {}

RpcServer::~RpcServer() {
  stop();
  impl_->joinAll();
}

std::uint16_t RpcServer::listen(const std::string& host, std::uint16_t port) {
  asio::ip::tcp::resolver resolver(impl_->acceptIo);
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
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->stopping) return;
  }
  if (impl_->acceptor.is_open()) impl_->acceptNext();
  impl_->acceptIo.run();
  impl_->joinAll();
}

void RpcServer::stop() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->stopping) return;
    impl_->stopping = true;
    for (auto& s : impl_->sessions) s->channel.closeSoon();
  }
  asio::post(impl_->acceptIo, [impl = impl_.get()] {
    asio::error_code ignored;
    impl->acceptor.close(ignored);
    impl->retryTimer.cancel();
  });
}
