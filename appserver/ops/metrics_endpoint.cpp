#include "ops/metrics_endpoint.h"

#include <httplib.h>

#include <stdexcept>

#include "ops/server_metrics.h"

MetricsEndpoint::MetricsEndpoint(const ServerMetrics& metrics, ReadinessCheck ready)
    : metrics_(metrics), ready_(std::move(ready)), http_(std::make_unique<httplib::Server>()) {
  http_->Get("/metrics", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(metrics_.render(), "text/plain; version=0.0.4; charset=utf-8");
  });
  http_->Get("/healthz", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok\n", "text/plain; charset=utf-8");
  });
  http_->Get("/readyz", [this](const httplib::Request&, httplib::Response& res) {
    const std::optional<std::string> problem = ready_();
    res.status = problem ? 503 : 200;
    res.set_content(problem ? *problem + "\n" : "ok\n", "text/plain; charset=utf-8");
  });
  // A scraper asks once in a while: a few threads are plenty, and a flood of
  // requests never takes threads from the clients' port.
  http_->new_task_queue = [] { return new httplib::ThreadPool(2); };
  http_->set_read_timeout(5, 0);
  http_->set_write_timeout(5, 0);
}

MetricsEndpoint::~MetricsEndpoint() { stop(); }

std::uint16_t MetricsEndpoint::start(const std::string& host, std::uint16_t port) {
  int bound = port;
  if (port == 0) {
    bound = http_->bind_to_any_port(host);
    if (bound < 0) throw std::runtime_error("Não foi possível abrir a porta de métricas em " + host + ".");
  } else if (!http_->bind_to_port(host, port)) {
    throw std::runtime_error("Não foi possível abrir a porta de métricas em " + host + ":" + std::to_string(port) + ".");
  }
  thread_ = std::thread([this] { http_->listen_after_bind(); });
  return static_cast<std::uint16_t>(bound);
}

void MetricsEndpoint::stop() {
  if (!thread_.joinable()) return;
  http_->stop();
  thread_.join();
}
