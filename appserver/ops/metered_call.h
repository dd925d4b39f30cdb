#pragma once
// Times one remote call from construction to destruction and records it in
// the metrics: answered unless failed() said otherwise.

#include <chrono>
#include <string>

#include "ops/server_metrics.h"

class MeteredCall {
 public:
  MeteredCall(ServerMetrics& metrics, std::string method)
      : metrics_(metrics), method_(std::move(method)), begun_(std::chrono::steady_clock::now()) {}
  ~MeteredCall() {
    metrics_.recordCall(method_, outcome_,
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - begun_).count());
  }
  MeteredCall(const MeteredCall&) = delete;
  MeteredCall& operator=(const MeteredCall&) = delete;

  void failed(ServerMetrics::CallOutcome outcome) { outcome_ = outcome; }

 private:
  ServerMetrics& metrics_;
  std::string method_;
  std::chrono::steady_clock::time_point begun_;
  ServerMetrics::CallOutcome outcome_ = ServerMetrics::CallOutcome::kOk;
};
