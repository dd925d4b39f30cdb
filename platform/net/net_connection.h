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
// Not thread-safe: one connection belongs to one thread.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "data/variant.h"

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

  const std::string& Host() const { return host_; }
  void SetHost(std::string host) { host_ = std::move(host); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }

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
  Variant Call(const std::string& method, std::vector<Variant>& args);
  // The same, for callers that need no by-reference arguments.
  Variant AppServer(const std::string& method, std::initializer_list<Variant> args = {});

 private:
  struct Channel;
  void connect();
  void logIn(wire::FrameChannel& frames, const std::string& prefix);
  [[noreturn]] void transportFailure(const std::string& message);
  std::string address() const;

  std::string serverName_ = "DXR10900.RDMDISTRATO";
  bool throwException_ = true;
  std::string operator_, password_;
  bool tls_ = false;
  std::string caFile_;
  std::string host_ = "127.0.0.1";
  int port_ = 0;
  int timeoutMs_ = 60000;
  int connectTimeoutMs_ = 15000;
  std::uint32_t maxFrameBytes_;
  std::uint64_t nextId_ = 1;
  bool busy_ = false;
  std::unique_ptr<Channel> channel_;
};
