#include "net_connection.h"

#include <chrono>
#include <random>
#include <thread>

#include "data/exceptions.h"
#include "net/frame_channel.h"
#include "net/net_wait_hook.h"
#include "net/wire_codec.h"

namespace {

constexpr auto kTickInterval = std::chrono::milliseconds(50);

const char* const kGarbled = "Resposta inválida do servidor de aplicação.";

wire::Clock::time_point After(int ms) { return wire::Clock::now() + std::chrono::milliseconds(ms < 0 ? 0 : ms); }

// "60", "0,25": seconds as the user reads them.
std::string Seconds(int ms) {
  std::string s = std::to_string(ms / 1000);
  int frac = ms % 1000;
  if (frac > 0) {
    std::string f = std::to_string(1000 + frac).substr(1);
    while (f.back() == '0') f.pop_back();
    s += "," + f;
  }
  return s;
}

// Clears the busy mark however the call ends.
class BusyMark {
 public:
  explicit BusyMark(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyMark() { busy_ = false; }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;

 private:
  bool& busy_;
};

// Between two rounds over the servers of a list.
constexpr auto kSecondRoundPause = std::chrono::milliseconds(500);

// Waits, running the wait hook as a call does.
void Pause(std::chrono::milliseconds length) {
  const auto until = std::chrono::steady_clock::now() + length;
  while (std::chrono::steady_clock::now() < until) {
    if (NetWaitHook()) NetWaitHook()();
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kTickInterval, until - std::chrono::steady_clock::now()));
  }
}

// A login the server refused: an answer, not an unreachable server, so no
// other server is tried.
class LoginRefused : public ENetError {
 public:
  using ENetError::ENetError;
};

// 128 random bits in hexadecimal: no two user actions share a key, on any
// client.
std::string NewRequestKey() {
  thread_local std::mt19937_64 random{[] {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device();
  }()};
  static const char* const kDigits = "0123456789abcdef";
  std::string key;
  for (int half = 0; half < 2; ++half)
    for (std::uint64_t bits = random(), i = 0; i < 16; ++i, bits >>= 4) key.push_back(kDigits[bits & 15]);
  return key;
}

}  // namespace

// A call's connection lost after its request may have gone out: the call may
// be sent again elsewhere, with its key.
struct TNetConnection::Lost {
  std::string message;
};

struct TNetConnection::Channel {
  explicit Channel(std::uint32_t maxFrameBytes) : frames(maxFrameBytes) {}
  wire::FrameChannel frames;
};

TNetConnection::TNetConnection() : maxFrameBytes_(wire::kDefaultMaxFrameBytes) {}

TNetConnection::~TNetConnection() = default;

bool TNetConnection::Connected() const { return channel_ && channel_->frames.isOpen(); }

void TNetConnection::SetConnected(bool connected) {
  if (connected) {
    if (!Connected()) connect();
    return;
  }
  if (!channel_) return;
  // Asked from the wait hook during a call: abort that call instead of
  // pulling the channel from under it.
  if (busy_) {
    abandoned_ = true;
    channel_->frames.closeSoon();
  } else {
    channel_.reset();
  }
}

void TNetConnection::SetServers(std::vector<ServerAddress> servers) {
  if (servers == servers_) return;
  servers_ = std::move(servers);
  current_ = 0;
}

std::vector<ServerAddress> TNetConnection::candidates() const {
  if (servers_.empty()) return {{host_, port_}};
  return servers_;
}

std::string TNetConnection::address() const { return FormatServerAddress({host_, port_}); }

void TNetConnection::transportFailure(const std::string& message) {
  channel_.reset();
  throw ENetError(message);
}

void TNetConnection::connect() {
  channel_.reset();
  if (BeforeConnect) BeforeConnect(*this);
  const std::vector<ServerAddress> servers = candidates();
  if (servers.size() == 1) return connectTo(servers.front());
  // The one in use first, then the others in their order; twice, a moment
  // apart, so a server restarting or a balancer that has not yet noticed a
  // server's loss does not end the call.
  std::string lastFailure;
  for (int round = 0; round < 2; ++round) {
    if (round > 0) Pause(kSecondRoundPause);
    for (std::size_t n = 0; n < servers.size(); ++n) {
      const std::size_t at = (current_ + n) % servers.size();
      try {
        connectTo(servers[at]);
        current_ = at;
        return;
      } catch (const LoginRefused&) {
        throw;
      } catch (const ENetError& e) {
        lastFailure = e.what();
      }
    }
  }
  throw ENetError("Nenhum dos servidores de aplicação (" + FormatServerList(servers) +
                  ") pôde ser alcançado. Último erro: " + lastFailure);
}

void TNetConnection::connectTo(const ServerAddress& server) {
  host_ = server.host;
  port_ = server.port;
  const std::string prefix = "Não foi possível conectar ao servidor de aplicação " + address() + ": ";
  if (port_ <= 0 || port_ > 65535) throw ENetError(prefix + "porta inválida.");

  auto channel = std::make_unique<Channel>(maxFrameBytes_);
  if (NetWaitHook()) channel->frames.setTick(NetWaitHook(), kTickInterval);
  const auto deadline = After(connectTimeoutMs_);
  wire::HelloReply reply;
  // A TLS server answers a plain hello with a TLS alert or by closing.
  const std::string tlsHint = tls_ ? "" : " (o servidor exige TLS?)";
  try {
    channel->frames.connect(host_, static_cast<std::uint16_t>(port_), deadline);
    if (tls_) channel->frames.startTls(host_, caFile_, deadline);
    channel->frames.writeFrame(wire::EncodeHello({serverName_}), deadline);
    reply = wire::DecodeHelloReply(channel->frames.readFrame(deadline));
  } catch (const wire::ChannelError& e) {
    const bool spoken = e.reason == wire::ChannelError::Reason::Closed ||
                        e.reason == wire::ChannelError::Reason::FrameTooBig;
    throw ENetError(prefix + e.what() + (spoken ? tlsHint : ""));
  } catch (const wire::ProtocolError&) {
    throw ENetError(prefix + kGarbled + tlsHint);
  }
  if (!reply.ok) throw ENetError(prefix + reply.message);
  if (!operator_.empty()) logIn(channel->frames, prefix);
  channel_ = std::move(channel);
}

void TNetConnection::logIn(wire::FrameChannel& frames, const std::string& prefix) {
  wire::Request request{nextId_++, kLoginMethod, {Variant(operator_), Variant(password_)}};
  wire::Response response;
  try {
    const auto deadline = After(timeoutMs_);
    frames.writeFrame(wire::EncodeRequest(request), deadline);
    response = wire::DecodeResponse(frames.readFrame(deadline));
  } catch (const wire::ChannelError& e) {
    throw ENetError(prefix + e.what());
  } catch (const wire::ProtocolError&) {
    throw ENetError(prefix + kGarbled);
  }
  if (response.id != request.id) throw ENetError(prefix + kGarbled);
  if (!response.ok) throw LoginRefused("Login recusado pelo servidor de aplicação " + address() + ": " + response.error);
}

Variant TNetConnection::Call(const std::string& method, std::vector<Variant>& args) {
  if (busy_) throw Exception("Já há uma chamada em andamento ao servidor de aplicação.");
  BusyMark mark(busy_);
  abandoned_ = false;
  const std::string key = NewRequestKey();
  // Sent once per server at most: a lost connection moves the call to the
  // next server, until each has had it.
  for (std::size_t attempt = 1;; ++attempt) {
    // A server that closed an idle connection (say, it restarted) is reached
    // again before the request goes out.
    if (Connected() && channel_->frames.peerClosed()) channel_.reset();
    if (!Connected()) connect();
    try {
      return exchange(method, args, key);
    } catch (const Lost& lost) {
      channel_.reset();
      const std::size_t servers = candidates().size();
      if (abandoned_ || servers < 2) throw ENetError(lost.message);
      if (attempt >= servers)
        throw ENetError("Nenhum dos servidores de aplicação (" + FormatServerList(candidates()) +
                        ") completou " + method + ". Último erro: " + lost.message);
      current_ = (current_ + 1) % servers;
    }
  }
}

Variant TNetConnection::exchange(const std::string& method, std::vector<Variant>& args, const std::string& key) {
  wire::Request request{nextId_++, method, args, key};
  std::string body = wire::EncodeRequest(request);
  if (body.size() > maxFrameBytes_)
    throw ENetError("Os argumentos de " + method + " excedem o limite de " + std::to_string(maxFrameBytes_) +
                    " bytes de uma mensagem.");

  wire::Response response;
  try {
    const auto deadline = After(timeoutMs_);
    channel_->frames.writeFrame(body, deadline);
    response = wire::DecodeResponse(channel_->frames.readFrame(deadline));
  } catch (const wire::ChannelError& e) {
    switch (e.reason) {
      case wire::ChannelError::Reason::TimedOut:
        transportFailure("O servidor de aplicação " + address() + " não respondeu a " + method + " em " +
                         Seconds(timeoutMs_) + " segundos.");
      case wire::ChannelError::Reason::FrameTooBig:
        transportFailure("Resposta do servidor de aplicação excede o limite de " + std::to_string(maxFrameBytes_) +
                         " bytes.");
      default:
        throw Lost{"A conexão com o servidor de aplicação " + address() + " foi interrompida: " + e.what()};
    }
  } catch (const wire::ProtocolError&) {
    transportFailure(kGarbled);
  }
  if (response.id != request.id) transportFailure(kGarbled);
  for (const auto& [pos, value] : response.updates)
    if (pos >= args.size()) transportFailure(kGarbled);

  if (!response.ok) {
    if (throwException_) throw Exception(response.error);
    return MakeArray({false, response.error});
  }
  for (auto& [pos, value] : response.updates) args[pos] = std::move(value);
  return MakeArray({true, std::move(response.result)});
}

Variant TNetConnection::AppServer(const std::string& method, std::initializer_list<Variant> args) {
  std::vector<Variant> list(args);
  return Call(method, list);
}
