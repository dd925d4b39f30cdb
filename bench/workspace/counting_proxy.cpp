#include "counting_proxy.h"

#include <stdexcept>

CountingProxy::CountingProxy(int upstreamPort) {
  upstream_.SetHost("127.0.0.1");
  upstream_.SetPort(upstreamPort);
  upstream_.SetThrowException(false);  // refusals are passed on as refusals
  upstream_.Open();
  server_ = std::make_unique<RpcServer>(
      [this](const std::string& method, std::vector<Variant>& args) { return Relay(method, args); });
  port_ = server_->listen("127.0.0.1", 0);
  serving_ = std::thread([this] { server_->run(); });
}

CountingProxy::~CountingProxy() {
  server_->stop();
  serving_.join();
}

Variant CountingProxy::Relay(const std::string& method, std::vector<Variant>& args) {
  std::lock_guard lock(mutex_);
  ++counts_[method];
  const Variant answer = upstream_.Call(method, args);
  if (!answer[0].asBool()) throw std::runtime_error(answer[1].asText());
  return answer[1];
}

std::map<std::string, std::int64_t> CountingProxy::Counts() const {
  std::lock_guard lock(mutex_);
  return counts_;
}

std::int64_t CountingProxy::Total() const {
  std::lock_guard lock(mutex_);
  std::int64_t total = 0;
  for (const auto& [method, n] : counts_) total += n;
  return total;
}
