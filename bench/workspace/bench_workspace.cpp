// The main screen against a real server over loopback, headless: leaving the
// filter on the bulk budget (company, checks, complementary data, the list,
// the first party's accounts, the commands) and one scroll of the list (the
// party's accounts, the commands).
//
// Arguments: parties in the bulk budget, whether the calls go through the
// counting relay, and (scrolls) whether they start at the end of the list. Times come from the direct runs (the relay adds a hop to
// every call); round trips per operation from the relayed ones.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "counting_proxy.h"
#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "test_server.h"
#include "ui/application.h"
#include "ui/scripted_ui.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace {

constexpr const char* kBranch = "0001";
constexpr const char* kBulkBudget = "0000009999";  // written by --init-demo --parties N

// The server program: $DXR10900_SERVER when set, else the one built here.
std::string Program() {
  const char* env = std::getenv("DXR10900_SERVER");
  return env && *env ? env : dx_test::ServerProgram();
}

// One server per bulk budget size, kept for the whole run.
dx_test::DemoServer& Server(int parties) {
  static std::map<int, std::unique_ptr<dx_test::DemoServer>> servers;
  auto& server = servers[parties];
  if (!server) server = std::make_unique<dx_test::DemoServer>(dx_test::DemoOptions{parties, {}, Program(), {}});
  return *server;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Round trips made by each operation, by method, and the time the relay
// waited for the server's answers, when the calls are relayed.
class TripCounter {
 public:
  explicit TripCounter(const CountingProxy* proxy) : proxy_(proxy) {}
  void Start() {
    if (proxy_) before_ = proxy_->Counts();
  }
  void Stop() {
    if (!proxy_) return;
    std::int64_t operation = 0;
    for (const auto& [method, now] : proxy_->Counts()) {
      const CountingProxy::Tally was = before_.count(method) ? before_.at(method) : CountingProxy::Tally{};
      total_[method].calls += now.calls - was.calls;
      total_[method].seconds += now.seconds - was.seconds;
      operation += now.calls - was.calls;
    }
    most_ = std::max(most_, operation);
    ++operations_;
  }
  // Per operation: round trips in all and by method, milliseconds waiting on
  // each method, and the most round trips any one operation made.
  void Report(benchmark::State& state) const {
    if (!proxy_ || operations_ == 0) return;
    std::int64_t all = 0;
    for (const auto& [method, tally] : total_) {
      if (tally.calls == 0) continue;
      all += tally.calls;
      state.counters[method] = static_cast<double>(tally.calls) / operations_;
      state.counters[method + "_ms"] = tally.seconds * 1000.0 / operations_;
    }
    state.counters["round_trips"] = static_cast<double>(all) / operations_;
    state.counters["max_round_trips"] = static_cast<double>(most_);
  }

 private:
  const CountingProxy* proxy_;
  std::map<std::string, CountingProxy::Tally> before_, total_;
  std::int64_t most_ = 0;
  std::int64_t operations_ = 0;
};

// The middle of the iteration times, in milliseconds.
void ReportMedian(benchmark::State& state, std::vector<double> seconds) {
  if (seconds.empty()) return;
  std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
  state.counters["median_ms"] = seconds[seconds.size() / 2] * 1000.0;
}

// The screen open on the bulk budget, logged in on `port`, the focus still
// in the filter; closed and freed when done.
class Screen {
 public:
  Screen(const dx_test::DemoServer& server, int port) {
    SetUi(&ui_);
    LoginEnvironment env;
    env.branch = kBranch;
    env.branchName = "Porto Alegre - Centro";
    env.operatorCode = dx_test::kDemoOperator;
    env.password = dx_test::kDemoPassword;
    env.serverHost = "127.0.0.1";
    env.serverPort = port;
    SetLoginEnvironment(env);
    if (dtmDBGeral().Connected() && dtmDBGeral().Path() != server.database()) dtmDBGeral().Close();
    if (!dtmDBGeral().Connected()) dtmDBGeral().Open(server.database());
    CriaDistratoComercial();
    form_ = frmDistrato;
    form_->medCdFilial.UserSetFocus();
    form_->medCdFilial.UserSetText(kBranch);
    form_->edtOrcamento.UserSetFocus();
    form_->edtOrcamento.UserSetText(kBulkBudget);
    Application().ProcessReleases();
  }
  ~Screen() {
    if (frmDistrato) {
      frmDistrato->Close();
      Application().ProcessReleases();
    }
    SetUi(nullptr);
  }

  TfrmDistrato& form() { return *form_; }
  // The first failure the screen reported, or empty.
  std::string Failure() const {
    const auto shown = ui_.Exceptions();
    return shown.empty() ? std::string() : shown.front();
  }

  void EnterFilter() {
    form_->edtOrcamento.UserSetFocus();
    Application().ProcessReleases();
  }
  void LeaveFilter() {
    form_->dbgPadrao.UserSetFocus();
    Application().ProcessReleases();
  }

 private:
  ScriptedUi ui_;
  TfrmDistrato* form_ = nullptr;
};

struct Setup {
  int parties;
  bool relayed;
  dx_test::DemoServer& server;
  std::unique_ptr<CountingProxy> proxy;

  explicit Setup(const benchmark::State& state)
      : parties(static_cast<int>(state.range(0))), relayed(state.range(1) != 0), server(Server(parties)) {
    if (relayed) proxy = std::make_unique<CountingProxy>(server.port());
  }
  int port() const { return proxy ? proxy->port() : server.port(); }
};

// Checks the list holds the whole bulk budget; false (and the benchmark
// skipped) when the screen refused or loaded something else.
bool Loaded(benchmark::State& state, Screen& screen, int parties) {
  if (const std::string failure = screen.Failure(); !failure.empty()) {
    state.SkipWithError(failure.c_str());
    return false;
  }
  TClientDataSet& list = screen.form().cdsContratante;
  if (!list.Active() || list.RecordCount() != parties || !screen.form().cdsContas.Active()) {
    state.SkipWithError("the list did not load the bulk budget");
    return false;
  }
  return true;
}

void BM_LeaveFilter(benchmark::State& state) {
  Setup setup(state);
  Screen screen(setup.server, setup.port());
  screen.LeaveFilter();  // warms the connection and checks the load
  if (!Loaded(state, screen, setup.parties)) return;

  TripCounter trips(setup.proxy.get());
  std::vector<double> times;
  for (auto _ : state) {
    screen.EnterFilter();  // closes the list; not part of the measure
    trips.Start();
    const auto start = Clock::now();
    screen.LeaveFilter();
    const double elapsed = Seconds(Clock::now() - start);
    trips.Stop();
    state.SetIterationTime(elapsed);
    times.push_back(elapsed);
  }
  if (!Loaded(state, screen, setup.parties)) return;
  trips.Report(state);
  ReportMedian(state, std::move(times));
}
BENCHMARK(BM_LeaveFilter)
    ->ArgNames({"parties", "relayed"})
    ->ArgsProduct({{1000, 10000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ScrollList(benchmark::State& state) {
  Setup setup(state);
  Screen screen(setup.server, setup.port());
  screen.LeaveFilter();
  if (!Loaded(state, screen, setup.parties)) return;

  // From the top of the list or from its bottom: the server's cost of a party
  // may depend on where the party sits in the budget.
  TClientDataSet& list = screen.form().cdsContratante;
  if (state.range(2) != 0) list.Last();
  TripCounter trips(setup.proxy.get());
  std::vector<double> times;
  bool forward = true;
  for (auto _ : state) {
    // Down to the last party, then back up: every iteration is one move.
    if (list.RecNo() >= list.RecordCount()) forward = false;
    if (list.RecNo() <= 1) forward = true;
    trips.Start();
    const auto start = Clock::now();
    forward ? list.Next() : list.Prior();
    Application().ProcessReleases();
    const double elapsed = Seconds(Clock::now() - start);
    trips.Stop();
    state.SetIterationTime(elapsed);
    times.push_back(elapsed);
  }
  if (const std::string failure = screen.Failure(); !failure.empty()) {
    state.SkipWithError(failure.c_str());
    return;
  }
  trips.Report(state);
  ReportMedian(state, std::move(times));
}
BENCHMARK(BM_ScrollList)
    ->ArgNames({"parties", "relayed", "from_end"})
    ->ArgsProduct({{1000, 10000}, {0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
