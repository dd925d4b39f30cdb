#include "ops/server_metrics.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <fstream>
#include <sstream>

namespace {

const char* const kOutcomeNames[] = {"ok", "refused", "error"};
const char* const kLoginNames[] = {"accepted", "refused", "locked"};

// A label value as the text format wants it: backslash, quote and line feed escaped.
std::string LabelValue(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out;
}

// The shortest text that reads back as the same double.
std::string Number(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

void Header(std::ostringstream& out, const char* name, const char* type, const char* help) {
  out << "# HELP " << name << ' ' << help << "\n# TYPE " << name << ' ' << type << '\n';
}

}  // namespace

ServerMetrics::ServerMetrics()
    : startTimeSeconds_(std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count()) {}

void ServerMetrics::recordCall(const std::string& method, CallOutcome outcome, double seconds) {
  std::size_t bucket = 0;
  while (bucket < kBuckets.size() && seconds > kBuckets[bucket]) ++bucket;
  std::lock_guard lock(mutex_);
  MethodStats& stats = methods_[method];
  ++stats.calls[static_cast<std::size_t>(outcome)];
  if (bucket < kBuckets.size()) ++stats.buckets[bucket];
  ++stats.count;
  stats.sumSeconds += seconds;
}

void ServerMetrics::recordLogin(LoginOutcome outcome) {
  logins_[static_cast<std::size_t>(outcome)].fetch_add(1, std::memory_order_relaxed);
}

std::string ServerMetrics::render() const {
  std::ostringstream out;
  {
    std::lock_guard lock(mutex_);
    Header(out, "dxr10900_calls_total", "counter", "Remote calls answered, by method and outcome.");
    for (const auto& [method, stats] : methods_)
      for (std::size_t o = 0; o < stats.calls.size(); ++o)
        out << "dxr10900_calls_total{method=\"" << LabelValue(method) << "\",outcome=\"" << kOutcomeNames[o]
            << "\"} " << stats.calls[o] << '\n';
    Header(out, "dxr10900_call_duration_seconds", "histogram", "Time to answer a remote call, by method.");
    for (const auto& [method, stats] : methods_) {
      const std::string label = "method=\"" + LabelValue(method) + "\"";
      std::uint64_t cumulative = 0;
      for (std::size_t b = 0; b < kBuckets.size(); ++b) {
        cumulative += stats.buckets[b];
        out << "dxr10900_call_duration_seconds_bucket{" << label << ",le=\"" << Number(kBuckets[b]) << "\"} "
            << cumulative << '\n';
      }
      out << "dxr10900_call_duration_seconds_bucket{" << label << ",le=\"+Inf\"} " << stats.count << '\n';
      out << "dxr10900_call_duration_seconds_sum{" << label << "} " << Number(stats.sumSeconds) << '\n';
      out << "dxr10900_call_duration_seconds_count{" << label << "} " << stats.count << '\n';
    }
  }
  Header(out, "dxr10900_logins_total", "counter", "Login attempts, by outcome.");
  for (std::size_t o = 0; o < logins_.size(); ++o)
    out << "dxr10900_logins_total{outcome=\"" << kLoginNames[o] << "\"} " << logins_[o].load() << '\n';

  if (gauges_.anonymousConnections && gauges_.loggedInConnections) {
    Header(out, "dxr10900_connections", "gauge", "Open connections, by whether they have logged in.");
    out << "dxr10900_connections{state=\"anonymous\"} " << gauges_.anonymousConnections() << '\n';
    out << "dxr10900_connections{state=\"logged_in\"} " << gauges_.loggedInConnections() << '\n';
  }
  const auto counter = [&out](const char* name, const char* help, const std::function<std::uint64_t()>& source) {
    if (!source) return;
    Header(out, name, "counter", help);
    out << name << ' ' << source() << '\n';
  };
  counter("dxr10900_connections_refused_total", "Connections refused for a connection limit.",
          gauges_.connectionsRefused);
  if (gauges_.queuedCalls) {
    Header(out, "dxr10900_worker_queue_length", "gauge", "Calls waiting for a worker thread.");
    out << "dxr10900_worker_queue_length " << gauges_.queuedCalls() << '\n';
  }
  counter("dxr10900_database_serialization_retries_total",
          "Transactions run again after the database aborted them for a conflicting writer.",
          gauges_.serializationRetries);
  counter("dxr10900_database_busy_refusals_total",
          "Calls refused because their transaction kept conflicting with other writers.", gauges_.busyRefusals);
  if (gauges_.databaseSizeBytes) {
    Header(out, "dxr10900_database_size_bytes", "gauge", "Size of the server's database.");
    out << "dxr10900_database_size_bytes " << gauges_.databaseSizeBytes() << '\n';
  }
  Header(out, "process_resident_memory_bytes", "gauge", "Resident memory size in bytes.");
  out << "process_resident_memory_bytes " << ResidentMemoryBytes() << '\n';
  Header(out, "process_start_time_seconds", "gauge", "Start time of the process since unix epoch in seconds.");
  out << "process_start_time_seconds " << Number(startTimeSeconds_) << '\n';
  return out.str();
}

std::uint64_t ResidentMemoryBytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0;
  if (!(statm >> size >> resident)) return 0;
  return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}
