// Throughput and latency of real dxr10900-server processes as a site with
// many operators sees them: 16 clients, each on its own connection, call the
// list scroll's questions (GetContas + GetExisContOrca on a party of the bulk
// budget) and, every tenth call, a partial rescission of a party of their own
// (ConfirmaValores + Distrato), for a fixed time. Configurations: one server
// on SQLite, and 1, 2 and 4 servers sharing one PostgreSQL database (a
// throwaway cluster started here), the clients spread over the servers.
//
// Counters: calls_per_s (remote calls answered per second, all kinds), p50 and
// p99 latency of a scroll step (both reads) and of a rescission (both calls),
// refused (calls refused; 0 expected).
//
// Arguments: backend (0 SQLite, 1 PostgreSQL), servers.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "data/exceptions.h"
#include "data/packet.h"
#include "lib/consiste.h"
#include "net/net_connection.h"
#include "scratch_postgres.h"
#include "test_server.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 16;
constexpr int kParties = 1600;  // 100 per client to rescind
constexpr auto kRunFor = std::chrono::seconds(8);
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

void RunClient(int port, int index, Clock::time_point until, ClientResult& out) {
  TNetConnection c;
  c.SetHost("127.0.0.1");
  c.SetPort(port);
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(60000);
  std::mt19937 random(static_cast<unsigned>(index) * 7919u + 1u);
  std::uniform_int_distribution<int> anyParty(1, kParties);
  int nextOwn = index * (kParties / kClients) + 1;
  const int lastOwn = (index + 1) * (kParties / kClients);
  for (long step = 0; Clock::now() < until; ++step) {
    const auto start = Clock::now();
    try {
      if (step % 10 == 9 && nextOwn <= lastOwn) {
        const std::string party = PartyCode(nextOwn++);
        const Variant priced = Payload(c, "ConfirmaValores", {"0001", kBudget, "01", "1", "01", Variant(0.0), party, "", "N"});
        const DataPacket& v = priced[0].asPacket();
        const double negotiated = v.at(0, "VRORIGREC").asDouble();
        const bool payable = v.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
        Payload(c, "Distrato", {"0001", kBudget, "01", "1", "SUPERVISOR", party, v.at(0, "VRMULTA"), "",
                                Variant(negotiated), Variant(payable ? -negotiated : negotiated)});
        out.rescissionMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      } else {
        const std::string party = PartyCode(anyParty(random));
        Payload(c, "GetContas", {"01", kBudget, "01", party, "1", "N", "ORCAMENTO", "N", ""});
        Payload(c, "GetExisContOrca", {"0001", kBudget, "01", "", party});
        out.scrollMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      }
      out.calls += 2;
    } catch (const Exception&) {
      ++out.refused;
    }
  }
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

void BM_SharedDatabase(benchmark::State& state) {
  const bool postgres = state.range(0) == 1;
  const int servers = static_cast<int>(state.range(1));
  for (auto _ : state) {
    dx_test::DemoOptions options;
    options.parties = kParties;
    if (postgres) options.database = dx_test::ScratchPostgres::Shared().createDatabase();
    const dx_test::DemoDatabase demo(options);
    std::vector<std::unique_ptr<dx_test::ServerProcess>> running;
    for (int i = 0; i < servers; ++i) {
      running.push_back(std::make_unique<dx_test::ServerProcess>(demo.path()));
      running.back()->requireListening();
    }
    std::vector<ClientResult> results(kClients);
    std::vector<std::thread> clients;
    const auto start = Clock::now();
    const auto until = start + kRunFor;
    for (int i = 0; i < kClients; ++i)
      clients.emplace_back(RunClient, running[static_cast<std::size_t>(i % servers)]->port(), i, until,
                           std::ref(results[static_cast<std::size_t>(i)]));
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
    state.counters["scroll_p50_ms"] = Percentile(all.scrollMs, 0.50);
    state.counters["scroll_p99_ms"] = Percentile(all.scrollMs, 0.99);
    state.counters["rescission_p50_ms"] = Percentile(all.rescissionMs, 0.50);
    state.counters["rescission_p99_ms"] = Percentile(all.rescissionMs, 0.99);
    state.counters["rescissions"] = static_cast<double>(all.rescissionMs.size());
    state.counters["refused"] = static_cast<double>(all.refused);
  }
}

BENCHMARK(BM_SharedDatabase)
    ->ArgNames({"postgres", "servers"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({1, 4})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
