#pragma once
// The operations port: an HTTP server of its own thread, apart from the
// clients' port, answering
//   GET /metrics  the server's metrics in the Prometheus text format;
//   GET /healthz  200 while the process answers;
//   GET /readyz   200 when the database answers a query at the current
//                 schema version, 503 with the reason otherwise.
// start() and stop() belong to one thread; the handlers run on the HTTP
// library's own threads.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

class ServerMetrics;

class MetricsEndpoint {
 public:
  // Why the server is not ready, or nullopt when it is.
  using ReadinessCheck = std::function<std::optional<std::string>()>;

  MetricsEndpoint(const ServerMetrics& metrics, ReadinessCheck ready);
  ~MetricsEndpoint();
  MetricsEndpoint(const MetricsEndpoint&) = delete;
  MetricsEndpoint& operator=(const MetricsEndpoint&) = delete;

  // Binds (port 0 picks a free one) and serves in the background; returns
  // the bound port. Throws std::runtime_error when the address cannot be bound.
  std::uint16_t start(const std::string& host, std::uint16_t port);
  void stop();

 private:
  const ServerMetrics& metrics_;
  ReadinessCheck ready_;
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
};
