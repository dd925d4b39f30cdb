#pragma once
// The client's socket connection to the application server, in the manner
// of the platform's TSocketConnection: set the server name and, usually from
// BeforeConnect, the host and port; connect; call remote methods by name.
//
// Calls are synchronous and bounded by TimeoutMs. A call made while not
// connected connects first (running BeforeConnect), as the original
// component did on demand. Any transport failure (cannot connect, dropped,
// timed out, garbled or oversized answer) throws ENetError and leaves the
// connection closed; the next call or Connected=true connects again.
//
// Several servers of one site (SetServers): a connect goes to the first of
// them that answers, starting from the one last used; a call whose
// connection is lost, or whose server cannot be reached, logs in on the next
// server and is sent again, carrying the same request key, so a change the
// lost server had already made is answered from its record rather than made
// twice (README.md, "Writes applied once"). Only when every server failed
// does the call throw, saying so.
//
// Not thread-safe: one connection belongs to one thread.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "data/variant.h"
#include "net/server_address.h"

namespace wire {
class FrameChannel;
}

class TNetConnection {
 public:
  TNetConnection();
  ~TNetConnection();
  TNetConnection(const TNetConnection&) = delete;
  TNetConnection& operator=(const TNetConnection&) = delete;

  // Runs before every connect; sets host and port from the login environment.
  std::function<void(TNetConnection&)> BeforeConnect;

  const std::string& ServerName() const { return serverName_; }
  void SetServerName(std::string name) { serverName_ = std::move(name); }

  // False: a refused call returns [false, message]. True: it throws
  // Exception(message).
  bool ThrowException() const { return throwException_; }
  void SetThrowException(bool b) { throwException_ = b; }

  // The server connected to, or to connect to when no list is set.
  const std::string& Host() const { return host_; }
  void SetHost(std::string host) { host_ = std::move(host); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  // Every server of the site, in the order to try them; empty: Host:Port
  // alone. Setting the same list again (BeforeConnect does, on every
  // connect) keeps the server in use.
  const std::vector<ServerAddress>& Servers() const { return servers_; }
  void SetServers(std::vector<ServerAddress> servers);

  // Who logs in on every connect, usually set by BeforeConnect. With an
  // operator, each connect ends with the request `Login [operator,
  // password]` (kLoginMethod); a refusal throws ENetError with the server's
  // message and leaves the connection closed. Without one, the connection
  // stays anonymous and the server refuses its calls.
  static constexpr const char* kLoginMethod = "Login";
  const std::string& Operator() const { return operator_; }
  void SetLogin(std::string operatorCode, std::string password) {
    operator_ = std::move(operatorCode);
    password_ = std::move(password);
  }

  // TLS to the server; the server's certificate must chain to a CA of the
  // system's store or of CaFile (PEM), and name the host.
  bool Tls() const { return tls_; }
  void SetTls(bool tls) { tls_ = tls; }
  const std::string& CaFile() const { return caFile_; }
  void SetCaFile(std::string path) { caFile_ = std::move(path); }

  int TimeoutMs() const { return timeoutMs_; }  // per call
  void SetTimeoutMs(int ms) { timeoutMs_ = ms; }
  int ConnectTimeoutMs() const { return connectTimeoutMs_; }
  void SetConnectTimeoutMs(int ms) { connectTimeoutMs_ = ms; }
  std::uint32_t MaxFrameBytes() const { return maxFrameBytes_; }
  void SetMaxFrameBytes(std::uint32_t n) { maxFrameBytes_ = n; }

  bool Connected() const;
  // True connects (BeforeConnect first) unless already connected; false
  // disconnects.
  void SetConnected(bool connected);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }

  // Calls `method` with `args`; the arguments the server changed are written
  // back into `args`. Returns [true, result] on success; on a refusal returns
  // [false, message] or throws Exception(message), after ThrowException.
  // Each call is one user action: it carries a request key of its own, the
  // same on every server it is sent to.
  Variant Call(const std::string& method, std::vector<Variant>& args);
  // The same, for callers that need no by-reference arguments.
  Variant AppServer(const std::string& method, std::initializer_list<Variant> args = {});

 private:
  struct Channel;
  struct Lost;
  void connect();
  void connectTo(const ServerAddress& server);
  void logIn(wire::FrameChannel& frames, const std::string& prefix);
  Variant exchange(const std::string& method, std::vector<Variant>& args, const std::string& key);
  [[noreturn]] void transportFailure(const std::string& message);
  std::string address() const;
  std::vector<ServerAddress> candidates() const;

  std::string serverName_ = "DXR10900.RDMDISTRATO";
  bool throwException_ = true;
  std::string operator_, password_;
  bool tls_ = false;
  std::string caFile_;
  std::string host_ = "127.0.0.1";
  int port_ = 0;
  std::vector<ServerAddress> servers_;
  std::size_t current_ = 0;  // in servers_: the one in use, or to try first
  int timeoutMs_ = 60000;
  int connectTimeoutMs_ = 15000;
  std::uint32_t maxFrameBytes_;
  std::uint64_t nextId_ = 1;
  bool busy_ = false;
  bool abandoned_ = false;  // disconnected by its owner during a call: not sent again
  std::unique_ptr<Channel> channel_;
};
