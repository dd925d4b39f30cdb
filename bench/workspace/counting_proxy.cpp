#include "net/refusal.h"
#include "counting_proxy.h"

#include <chrono>
#include <stdexcept>

#include "test_server.h"

CountingProxy::CountingProxy(int upstreamPort) {
  upstream_.SetHost("127.0.0.1");
  upstream_.SetPort(upstreamPort);
  upstream_.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
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
  const auto start = std::chrono::steady_clock::now();
  const Variant answer = upstream_.Call(method, args);
  Tally& tally = counts_[method];
  ++tally.calls;
  tally.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!answer[0].asBool()) throw Refusal(answer[1].asText());
  return answer[1];
}

std::map<std::string, CountingProxy::Tally> CountingProxy::Counts() const {
  std::lock_guard lock(mutex_);
  return counts_;
}
