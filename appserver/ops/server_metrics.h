#pragma once
// What one server process has done and holds, for Prometheus: calls per
// method and outcome with their latency, logins per outcome, and the gauges
// read at each scrape (connections, queued calls, database, memory). Written
// in the Prometheus text exposition format, version 0.0.4. Counting is safe
// from several threads at once; the gauges' sources are set before serving.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

class ServerMetrics {
 public:
  enum class CallOutcome { kOk, kRefused, kError };
  enum class LoginOutcome { kAccepted, kRefused, kLocked };

  // What the server holds at the moment of a scrape; any source left unset
  // is not written.
  struct Gauges {
    std::function<std::size_t()> anonymousConnections, loggedInConnections;
    std::function<std::uint64_t()> connectionsRefused;  // beyond a limit, since start
    std::function<std::size_t()> queuedCalls;           // waiting for a worker
    std::function<std::uint64_t()> databaseSizeBytes;
    std::function<std::uint64_t()> serializationRetries, busyRefusals;
  };

  // The latency buckets' upper bounds, in seconds.
  static constexpr std::array<double, 12> kBuckets{0.0005, 0.001, 0.0025, 0.005, 0.01,  0.025,
                                                   0.05,   0.1,   0.25,   0.5,   1.0,   2.5};

  ServerMetrics();

  void setGauges(Gauges gauges) { gauges_ = std::move(gauges); }
  // `method` must be a registered method's name (or "unknown"): label values
  // never come from what a client typed, so they stay few.
  void recordCall(const std::string& method, CallOutcome outcome, double seconds);
  void recordLogin(LoginOutcome outcome);

  // Every metric in the text format.
  std::string render() const;

 private:
  struct MethodStats {
    std::array<std::uint64_t, 3> calls{};                 // by CallOutcome
    std::array<std::uint64_t, kBuckets.size()> buckets{};  // not cumulative: each call in its first bucket
    std::uint64_t count = 0;
    double sumSeconds = 0;
  };

  mutable std::mutex mutex_;  // guards methods_
  std::map<std::string, MethodStats> methods_;
  std::array<std::atomic<std::uint64_t>, 3> logins_{};  // by LoginOutcome
  double startTimeSeconds_;  // since the Unix epoch
  Gauges gauges_;
};

// Resident memory of this process, in bytes (0 where /proc cannot tell).
std::uint64_t ResidentMemoryBytes();
