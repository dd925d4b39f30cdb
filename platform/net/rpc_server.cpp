#include "rpc_server.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <latch>
#include <memory>
#include <set>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "net/printable_text.h"
#include "net/refusal.h"
#include "net/rpc_server_connection.h"
#include "net/rpc_server_impl.h"
#include "net/server_log.h"
#include "net/value_count.h"
#include "net/wire_codec.h"

namespace {

// Connections beyond the cap that are being told so at the same time; any
// more are closed without a word.
constexpr std::size_t kMaxRefusing = 64;
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

RpcServer::Impl::Impl(RpcConnectionHandler h, RpcServerOptions o)
    : handler(std::move(h)), options(std::move(o)), tls(TlsContext(options)) {}

std::size_t RpcServer::Impl::capacity() const {
  return std::min(options.maxConnections, DescriptorBudget(options.workerThreads));
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
  const std::string address = Connection::AddressOf(socket);
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

void RpcServer::Impl::prepareWorkers() {
  if (!options.prepareWorker) return;
  const std::size_t n = std::max<std::size_t>(1, options.workerThreads);
  // Each task waits for all the others, so each holds a thread of its own.
  // Shared: a task may still be leaving its wait when this one returns.
  auto prepared = std::make_shared<std::latch>(static_cast<std::ptrdiff_t>(n));
  for (std::size_t i = 0; i < n; ++i)
    asio::post(*workers, [this, prepared] {
      try {
        options.prepareWorker();
      } catch (const std::exception& e) {
        say(ServerLog::Level::Warning, std::string("preparação de um executor falhou: ") + e.what());
      }
      prepared->arrive_and_wait();
    });
  prepared->wait();
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
  s.prepareWorkers();
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
