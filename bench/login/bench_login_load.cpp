// A logged-in client's calls while 16 other connections log in over and over
// (each a new connection, hello, login with the right password, close), on
// the real dxr10900-server with the demo database. Target: the call's p99
// under 5 ms. Password checks are slow on purpose (Argon2id, about 0.1 s and
// 64 MiB each); they run on the server's small login pool at a lower
// priority, never on the workers that serve logged-in clients.
//
// BM_CallAlone is the same call with nobody logging in; BM_CallWhileLoggingIn
// reports, beside the mean, p50/p99/max of the call (ms) and how many logins
// the others completed per second.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "net/net_connection.h"
#include "test_server.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLoggingIn = 16;

dx_test::DemoServer& Server() {
  static const std::unique_ptr<dx_test::DemoServer> server = [] {
    dx_test::DemoOptions options;
    options.parties = 2;
    return std::make_unique<dx_test::DemoServer>(options);
  }();
  return *server;
}

void Point(TNetConnection& c) {
  c.SetHost("127.0.0.1");
  c.SetPort(Server().port());
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(60000);
  c.SetConnectTimeoutMs(60000);
}

// Measures one call per iteration and reports its percentiles.
void MeasureCalls(benchmark::State& state) {
  TNetConnection client;
  Point(client);
  for (int i = 0; i < 20; ++i) client.AppServer("GetVdOrca", {"0001", "0000000101"});  // warm
  std::vector<double> ms;
  for (auto _ : state) {
    const auto begun = Clock::now();
    benchmark::DoNotOptimize(client.AppServer("GetVdOrca", {"0001", "0000000101"}));
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begun).count());
  }
  std::sort(ms.begin(), ms.end());
  const auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<std::size_t>(q * ms.size()))]; };
  state.counters["p50_ms"] = at(0.50);
  state.counters["p99_ms"] = at(0.99);
  state.counters["max_ms"] = ms.back();
}

void BM_CallAlone(benchmark::State& state) { MeasureCalls(state); }
BENCHMARK(BM_CallAlone)->Iterations(2000)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_CallWhileLoggingIn(benchmark::State& state) {
  std::atomic<bool> done{false};
  std::atomic<long> logins{0};
  std::vector<std::thread> others;
  for (int i = 0; i < kLoggingIn; ++i)
    others.emplace_back([&] {
      while (!done) {
        TNetConnection c;
        Point(c);
        try {
          c.SetConnected(true);  // hello and login
          ++logins;
        } catch (const std::exception&) {
        }
      }
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the logins under way
  const long before = logins;
  const auto begun = Clock::now();
  MeasureCalls(state);
  const double seconds = std::chrono::duration<double>(Clock::now() - begun).count();
  state.counters["logins_per_s"] = static_cast<double>(logins - before) / seconds;
  done = true;
  for (std::thread& t : others) t.join();
}
BENCHMARK(BM_CallWhileLoggingIn)->Iterations(2000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
