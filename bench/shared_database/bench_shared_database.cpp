// Throughput and latency of real dxr10900-server processes as a site with
// many operators sees them, 16 clients each on its own connection.
// Configurations: one server on SQLite, and 1, 2 and 4 servers sharing one
// PostgreSQL database (a throwaway cluster started here), the clients spread
// over the servers.
//
// BM_Mixed: for a fixed time every client scrolls the list (GetContas +
// GetExisContOrca on a party of the bulk budget) and, once a second, rescinds
// a party of its own (ConfirmaValores + Distrato). A budget holds at most 98
// child budgets, so each client rescinds 6 parties: the run's writes are paced.
// BM_Rescissions: every client rescinds its 6 parties as fast as it can, all
// in the same budget at once: the writes' throughput under contention.
//
// Counters: calls_per_s (remote calls answered per second), p50 and p99
// latency of a scroll step (both reads) and of a rescission (both calls),
// rescissions done, refused (calls refused; the busy refusal after repeated
// conflicts counts here), reruns (transactions the database aborted for a
// conflicting writer and the servers ran again, read off their metrics ports).
//
// The servers all run on this machine, so they share its processors: as a
// site running several servers on one machine would, they divide one
// server's eight workers among them (--workers 8/servers). Each keeping eight
// would run up to sixteen calls at once where one server runs eight, and on
// a small machine the measure would be of that, not of the servers.
//
// Arguments: backend (0 SQLite, 1 PostgreSQL), servers. DXR10900_SERVER, when
// set, names another build of the server to measure (an older one, to
// compare); DXR10900_WORKERS, when set, gives each server that many workers
// instead.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <latch>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "data/exceptions.h"
#include "data/packet.h"
#include "lib/consiste.h"
#include "metrics_scrape.h"
#include "net/net_connection.h"
#include "scratch_postgres.h"
#include "test_server.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 16;
constexpr int kParties = 400;
constexpr int kOwnParties = 6;  // 16 x 6 = 96 child budgets of the 98 a budget holds
constexpr auto kRunFor = std::chrono::seconds(8);
constexpr auto kWarmUpFor = std::chrono::seconds(2);
constexpr int kMachineWorkers = 8;  // one server's default
const char* kBudget = "0000009999";

std::string PartyCode(int i) {
  std::string digits = std::to_string(i);
  return "B" + std::string(7 - digits.size(), '0') + digits;
}

Variant Payload(TNetConnection& c, const std::string& method, std::initializer_list<Variant> args) {
  return CheckResultServ(c.AppServer(method, args), true, 0);
}

struct ClientResult {
  std::vector<double> scrollMs, rescissionMs;
  long calls = 0, refused = 0;
};

class Client {
 public:
  Client(int port, int index, ClientResult& out) : index_(index), out_(out), random_(static_cast<unsigned>(index) + 1u) {
    c_.SetHost("127.0.0.1");
    c_.SetPort(port);
    c_.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
    c_.SetTimeoutMs(60000);
  }

  // Connects and logs in, so no latency measured includes the login's
  // deliberately slow password check.
  void open() { c_.Open(); }

  // The list scroll's two questions about a party.
  void scroll() {
    std::uniform_int_distribution<int> anyParty(1, kParties);
    const std::string party = PartyCode(anyParty(random_));
    timed(out_.scrollMs, [&] {
      Payload(c_, "GetContas", {"01", kBudget, "01", party, "1", "N", "ORCAMENTO", "N", ""});
      Payload(c_, "GetExisContOrca", {"0001", kBudget, "01", "", party});
    });
  }

  // Prices and rescinds the next party of its own; false when none is left.
  bool rescind() {
    if (rescinded_ == kOwnParties) return false;
    const std::string party = PartyCode(index_ * kOwnParties + ++rescinded_);
    timed(out_.rescissionMs, [&] {
      const Variant priced = price(party);
      const DataPacket& v = priced[0].asPacket();
      const double negotiated = v.at(0, "VRORIGREC").asDouble();
      const bool payable = v.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
      Payload(c_, "Distrato", {"0001", kBudget, "01", "1", "SUPERVISOR", party, v.at(0, "VRMULTA"), "",
                               Variant(negotiated), Variant(payable ? -negotiated : negotiated)});
    });
    return true;
  }

  // Untimed calls before the measured window, as on a site whose servers
  // have been up a while: each server's database sessions have read the
  // tables and planned the queries the run makes (the pricing of a party
  // included; a rescission itself cannot be rehearsed, it uses up a party).
  void warmUp() {
    const Clock::time_point until = Clock::now() + kWarmUpFor;
    price(PartyCode(index_ * kOwnParties + 1));
    while (Clock::now() < until) scroll();
    out_ = ClientResult{};
  }

 private:
  Variant price(const std::string& party) {
    return Payload(c_, "ConfirmaValores", {"0001", kBudget, "01", "1", "01", Variant(0.0), party, "", "N"});
  }

  template <class F>
  void timed(std::vector<double>& into, F call) {
    const auto start = Clock::now();
    try {
      call();
      into.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      out_.calls += 2;
    } catch (const Exception&) {
      ++out_.refused;
    }
  }

  TNetConnection c_;
  int index_;
  ClientResult& out_;
  std::mt19937 random_;
  int rescinded_ = 0;
};

void Mixed(Client& client, int index) {
  const Clock::time_point until = Clock::now() + kRunFor;
  auto nextWrite = Clock::now() + std::chrono::milliseconds(100 * index);  // spread over the second
  while (Clock::now() < until) {
    if (Clock::now() >= nextWrite && client.rescind()) nextWrite += std::chrono::seconds(1);
    client.scroll();
  }
}

void Rescissions(Client& client, int) {
  while (client.rescind()) {
  }
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

// Starts the configuration's servers on a fresh demo database, logs every
// client in and warms it up, then runs one client function per client on them, all at once,
// and reports the counters. The logins come first so that every
// configuration is measured with all its clients at work: one server logs
// sixteen clients in more slowly than four do, and its first clients would
// otherwise run their rescissions while the rest were still logging in.
template <class RunClient>
void Measure(benchmark::State& state, RunClient run) {
  const bool postgres = state.range(0) == 1;
  const int servers = static_cast<int>(state.range(1));
  for (auto _ : state) {
    dx_test::DemoOptions options;
    options.parties = kParties;
    if (postgres) options.database = dx_test::ScratchPostgres::Shared().createDatabase();
    const dx_test::DemoDatabase demo(options);
    std::vector<std::unique_ptr<dx_test::ServerProcess>> running;
    std::vector<int> metricsPorts;
    const char* workers = std::getenv("DXR10900_WORKERS");
    const std::string workersEach = workers ? workers : std::to_string(std::max(1, kMachineWorkers / servers));
    for (int i = 0; i < servers; ++i) {
      metricsPorts.push_back(dx_test::FreeLoopbackPort());
      const char* program = std::getenv("DXR10900_SERVER");
      running.push_back(std::make_unique<dx_test::ServerProcess>(
          demo.path(), program ? program : "",
          std::vector<std::string>{"--metrics-listen", "127.0.0.1:" + std::to_string(metricsPorts.back()),
                                   "--workers", workersEach}));
      running.back()->requireListening();
    }
    std::vector<ClientResult> results(kClients);
    std::vector<std::thread> clients;
    std::latch ready(kClients);
    for (int i = 0; i < kClients; ++i)
      clients.emplace_back([&, i] {
        Client client(running[static_cast<std::size_t>(i % servers)]->port(), i, results[static_cast<std::size_t>(i)]);
        client.open();
        client.warmUp();
        ready.arrive_and_wait();
        run(client, i);
      });
    ready.wait();
    const auto start = Clock::now();
    for (std::thread& t : clients) t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);

    ClientResult all;
    for (const ClientResult& r : results) {
      all.scrollMs.insert(all.scrollMs.end(), r.scrollMs.begin(), r.scrollMs.end());
      all.rescissionMs.insert(all.rescissionMs.end(), r.rescissionMs.begin(), r.rescissionMs.end());
      all.calls += r.calls;
      all.refused += r.refused;
    }
    state.counters["calls_per_s"] = static_cast<double>(all.calls) / seconds;
    if (!all.scrollMs.empty()) {
      state.counters["scroll_p50_ms"] = Percentile(all.scrollMs, 0.50);
      state.counters["scroll_p99_ms"] = Percentile(all.scrollMs, 0.99);
    }
    state.counters["rescission_p50_ms"] = Percentile(all.rescissionMs, 0.50);
    state.counters["rescission_p99_ms"] = Percentile(all.rescissionMs, 0.99);
    state.counters["rescissions"] = static_cast<double>(all.rescissionMs.size());
    state.counters["refused"] = static_cast<double>(all.refused);
    double reruns = 0, distratoSeconds = 0, distratos = 0;
    for (int port : metricsPorts) {
      reruns += dx_test::ScrapeMetric(port, "dxr10900_database_serialization_retries_total").value_or(0);
      distratoSeconds += dx_test::ScrapeMetric(port, "dxr10900_call_duration_seconds_sum{method=\"Distrato\"}").value_or(0);
      distratos += dx_test::ScrapeMetric(port, "dxr10900_call_duration_seconds_count{method=\"Distrato\"}").value_or(0);
    }
    state.counters["reruns"] = reruns;
    if (distratos > 0) state.counters["distrato_server_ms"] = 1000 * distratoSeconds / distratos;
  }
}

void BM_Mixed(benchmark::State& state) { Measure(state, Mixed); }

void BM_Rescissions(benchmark::State& state) { Measure(state, Rescissions); }

void Configurations(benchmark::internal::Benchmark* b) {
  b->ArgNames({"postgres", "servers"})
      ->Args({0, 1})
      ->Args({1, 1})
      ->Args({1, 2})
      ->Args({1, 4})
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kSecond);
}

BENCHMARK(BM_Mixed)->Apply(Configurations);
BENCHMARK(BM_Rescissions)->Apply(Configurations);

}  // namespace

BENCHMARK_MAIN();
