// The server's connection, step by step as a client drives it: TLS or plain,
// hello, login, frames whole, cut or oversized, raw bytes, in any order. The
// input is a script for one client of a server held to short limits (login
// required); after each script a well-behaved client must still hello, log in
// and be answered, and nothing may crash, hang or touch bad memory.
//
// Script: the first byte chooses the server (bit 0: TLS) and, with TLS,
// whether the client negotiates (bit 1 clear) or sends its bytes raw; then
// steps, each an operation byte and its operands:
//   0 n bytes...     n raw bytes
//   1 hi lo bytes... a frame of the next (hi lo) bytes, its header counting them
//   2                the hello
//   3 b              Login, with the right password when b is odd
//   4 n              a request Echo of n values
//   5 hi lo          a frame header announcing (hi lo) << 8 bytes, nothing after

#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "net/refusal.h"
#include "net/rpc_server.h"
#include "net/wire_codec.h"
#include "test_certificate.h"

namespace {

Variant Handler(RpcConnection& connection, const std::string& method, std::vector<Variant>& args) {
  if (method == "Login") {
    connection.loggedIn = args.size() == 2 && args[1] == Variant("certa");
    if (!connection.loggedIn) throw Refusal("Operador ou senha inválidos.");
    return Variant(true);
  }
  if (!connection.loggedIn) throw Refusal("Conexão sem login.");
  return args.empty() ? Variant() : args[0];
}

RpcServerOptions ShortLimits(const dx_test::TestCertificate* certificate) {
  RpcServerOptions o;
  o.loginRequired = true;
  o.greetingTimeoutMs = 300;
  o.loginTimeoutMs = 300;
  o.readTimeoutMs = 300;
  o.maxGreetingFrameBytes = 1024;
  o.maxFrameBytes = 256 * 1024;
  o.maxConnections = 8;
  o.reservedForLoggedIn = 2;
  o.maxAnonymousPerAddress = 4;
  o.workerThreads = 2;
  o.loginThreads = 1;
  if (certificate) {
    o.tlsCertFile = certificate->cert();
    o.tlsKeyFile = certificate->key();
  }
  return o;
}

// A server on a loopback port, served for the whole run.
struct Served {
  explicit Served(RpcServerOptions options) : server(Handler, std::move(options)) {
    port = server.listen("127.0.0.1", 0);
    thread = std::thread([this] { server.run(); });
    thread.detach();  // lives as long as the process
  }
  RpcServer server;
  std::uint16_t port = 0;
  std::thread thread;
};

Served& PlainServer() {
  static Served* served = new Served(ShortLimits(nullptr));
  return *served;
}

Served& TlsServer() {
  static dx_test::TestCertificate* certificate = new dx_test::TestCertificate();
  static Served* served = new Served(ShortLimits(certificate));
  return *served;
}

std::string Frame(const std::string& body) {
  char header[wire::kFrameHeaderBytes];
  wire::PutFrameLength(header, static_cast<std::uint32_t>(body.size()));
  return std::string(header, sizeof header) + body;
}

// One client socket, plain or through TLS, every wait short.
class Client {
 public:
  Client(std::uint16_t port, bool tls) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    timeval wait{0, 100000};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ok_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (ok_ && tls) {
      context_ = SSL_CTX_new(TLS_client_method());
      ssl_ = SSL_new(context_);
      SSL_set_fd(ssl_, fd_);
      ok_ = SSL_connect(ssl_) == 1;
    }
  }
  ~Client() {
    if (ssl_) SSL_free(ssl_);
    if (context_) SSL_CTX_free(context_);
    close(fd_);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool ok() const { return ok_; }
  void send(const std::string& bytes) {
    if (!ok_ || bytes.empty()) return;
    const int n = ssl_ ? SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()))
                       : static_cast<int>(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL));
    ok_ = n > 0;
  }
  // One whole frame's body; empty when none came in time.
  std::string readFrame() {
    std::string header = read(wire::kFrameHeaderBytes);
    if (header.size() < wire::kFrameHeaderBytes) return {};
    return read(wire::FrameLength(header.data()));
  }
  // Says it is done and reads whatever the server still sends, until it
  // closes or goes quiet.
  void finish() {
    if (ssl_) SSL_shutdown(ssl_);
    shutdown(fd_, SHUT_WR);
    for (int i = 0; i < 50 && ok_; ++i) {
      char buf[4096];
      const int n = ssl_ ? SSL_read(ssl_, buf, sizeof buf) : static_cast<int>(recv(fd_, buf, sizeof buf, 0));
      if (n <= 0) break;
    }
  }

 private:
  std::string read(std::size_t n) {
    std::string out;
    char buf[4096];
    while (ok_ && out.size() < n && n <= 1024 * 1024) {
      const std::size_t want = std::min(sizeof buf, n - out.size());
      const int got = ssl_ ? SSL_read(ssl_, buf, static_cast<int>(want)) : static_cast<int>(recv(fd_, buf, want, 0));
      if (got <= 0) break;
      out.append(buf, static_cast<std::size_t>(got));
    }
    return out;
  }
  int fd_;
  bool ok_ = false;
  SSL_CTX* context_ = nullptr;
  SSL* ssl_ = nullptr;
};

std::string Hello() { return Frame(wire::EncodeHello({"DXR10900.RDMDISTRATO"})); }
std::string Login(bool right) {
  return Frame(wire::EncodeRequest({1, "Login", {"OPERADOR", right ? "certa" : "errada"}}));
}

// The server still serves a client that does everything right.
void RequireService(Served& served, bool tls) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    Client c(served.port, tls);
    c.send(Hello());
    if (c.readFrame().empty()) continue;  // its place was taken for a moment
    c.send(Login(true));
    if (c.readFrame().empty()) continue;
    c.send(Frame(wire::EncodeRequest({2, "Echo", {Variant("vivo")}})));
    const std::string body = c.readFrame();
    if (!body.empty() && wire::DecodeResponse(body).result == Variant("vivo")) return;
  }
  std::abort();  // the server stopped serving
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool tls = data[0] & 1;
  const bool negotiate = !(data[0] & 2);
  Served& served = tls ? TlsServer() : PlainServer();
  {
    Client c(served.port, tls && negotiate);
    std::size_t at = 1;
    const auto next = [&]() -> unsigned { return at < size ? data[at++] : 0; };
    while (at < size && c.ok()) {
      switch (next() % 6) {
        case 0: {
          const std::size_t n = std::min<std::size_t>(next(), size - at);
          c.send(std::string(reinterpret_cast<const char*>(data + at), n));
          at += n;
          break;
        }
        case 1: {
          const std::size_t length = next() << 8;
          const std::size_t n = std::min<std::size_t>(length | next(), size - at);
          c.send(Frame(std::string(reinterpret_cast<const char*>(data + at), n)));
          at += n;
          break;
        }
        case 2: c.send(Hello()); break;
        case 3: c.send(Login(next() & 1)); break;
        case 4: c.send(Frame(wire::EncodeRequest({3, "Echo", std::vector<Variant>(next(), Variant("x"))}))); break;
        case 5: {
          char header[wire::kFrameHeaderBytes];
          wire::PutFrameLength(header, ((next() << 8) | next()) << 8);
          c.send(std::string(header, sizeof header));
          break;
        }
      }
    }
    c.finish();
  }
  RequireService(served, tls);
  return 0;
}
