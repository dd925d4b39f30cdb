// The server's time for the total rescission of the bulk budget
// (`--init-demo --parties N`), each method called on the application server
// in process, without the socket: pricing every party (ConfValTodosCont),
// recording the rescission (DistratoTotal) and generating every party's
// account (ConsolidaDistratoTotal). The writing methods run on a fresh copy
// of the database each iteration; only the call is timed.
//
// Also the list of the bulk budget's parties (GetContratante) as the server
// answers it: the call and the encoding of its answer for the wire.
//
// Argument: parties in the bulk budget.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app_server.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "net/value_codec.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* kBranch = "0001";
const char* kBudget = "0000009999";

Variant EmptyList() { return Variant(DataPacket({{"CDCLIENTE", FieldType::String, 21}})); }

Variant Call(const AppServer& app, const std::string& method, std::vector<Variant> args) {
  return app.call(method, args);
}

Variant Priced(const AppServer& app, const char* mode) {
  return Call(app, "ConfValTodosCont", {kBranch, kBudget, "SUPERVISOR", "01", EmptyList(), Variant(0.0), mode});
}

// The demo database with the bulk budget: as written, and with its total
// rescission recorded and reviewed (ready to consolidate). Made once per size.
struct Databases {
  Databases() = default;
  Databases(Databases&&) = default;
  ~Databases() {
    std::error_code ignored;
    if (!dir.empty()) fs::remove_all(dir, ignored);
  }
  fs::path dir;
  std::string fresh, rescinded;
};

const Databases& DatabasesFor(int parties) {
  static std::map<int, Databases> made;
  auto it = made.find(parties);
  if (it != made.end()) return it->second;
  Databases d;
  d.dir = fs::temp_directory_path() / ("dxr10900-bench-" + std::to_string(getpid()) + "-" + std::to_string(parties));
  fs::create_directories(d.dir);
  d.fresh = (d.dir / "fresh.db").string();
  d.rescinded = (d.dir / "rescinded.db").string();
  WriteDemoDatabase(d.fresh, parties);
  fs::copy_file(d.fresh, d.rescinded);
  {
    AppServer app(d.rescinded);
    Call(app, "DistratoTotal", {kBranch, kBudget, "SUPERVISOR", "01", EmptyList(), Priced(app, "N")});
    std::vector<Variant> review{Priced(app, "S"), kBranch, kBudget};
    app.call("InsContratDistrato", review);
  }
  return made.emplace(parties, std::move(d)).first->second;
}

// CPU time of this thread: on a shared machine the wall time of a call also
// counts the time other processes held the cores, so both are reported.
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Times one call: its wall time as the iteration's, its CPU time summed.
template <typename F>
void TimeCall(benchmark::State& state, double& cpuSeconds, F call) {
  const double cpuStart = ThreadCpuSeconds();
  const auto start = Clock::now();
  call();
  state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  cpuSeconds += ThreadCpuSeconds() - cpuStart;
}

void ReportCallCpu(benchmark::State& state, double cpuSeconds) {
  state.counters["call_cpu_ms"] = cpuSeconds * 1000.0 / static_cast<double>(state.iterations());
}

// A copy of `source` for one iteration of a writing method.
std::string Copy(const std::string& source, const fs::path& dir) {
  const std::string target = (dir / "run.db").string();
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(target + suffix);
  fs::copy_file(source, target);
  return target;
}

void BM_ConfValTodosCont(benchmark::State& state) {
  const Databases& d = DatabasesFor(static_cast<int>(state.range(0)));
  AppServer app(d.fresh);
  std::size_t rows = 0;
  double cpu = 0;
  for (auto _ : state) TimeCall(state, cpu, [&] { rows = Priced(app, "N").asPacket().rowCount(); });
  state.counters["parties"] = static_cast<double>(rows);
  ReportCallCpu(state, cpu);
}

// What the contractor values dialog waits for on the server when it opens:
// the review stored (or resumed) from the priced parties.
void BM_InsContratDistrato(benchmark::State& state) {
  const Databases& d = DatabasesFor(static_cast<int>(state.range(0)));
  AppServer app(d.fresh);
  const Variant parties = Priced(app, "N");
  double cpu = 0;
  for (auto _ : state) {
    std::vector<Variant> args{parties, kBranch, kBudget};
    TimeCall(state, cpu, [&] { app.call("InsContratDistrato", args); });
  }
  ReportCallCpu(state, cpu);
}

void BM_DistratoTotal(benchmark::State& state) {
  const Databases& d = DatabasesFor(static_cast<int>(state.range(0)));
  double cpu = 0;
  for (auto _ : state) {
    AppServer app(Copy(d.fresh, d.dir));
    const Variant parties = Priced(app, "N");
    Variant answer;
    TimeCall(state, cpu, [&] {
      answer = Call(app, "DistratoTotal", {kBranch, kBudget, "SUPERVISOR", "01", EmptyList(), parties});
    });
    if (!answer.isText() || !answer.asText().empty()) state.SkipWithError("DistratoTotal did not record");
  }
  ReportCallCpu(state, cpu);
}

void BM_ConsolidaDistratoTotal(benchmark::State& state) {
  const Databases& d = DatabasesFor(static_cast<int>(state.range(0)));
  double cpu = 0;
  for (auto _ : state) {
    AppServer app(Copy(d.rescinded, d.dir));
    const Variant parties = Priced(app, "S");
    Variant answer;
    TimeCall(state, cpu, [&] {
      answer = Call(app, "ConsolidaDistratoTotal", {kBranch, kBudget, "SUPERVISOR", "1", parties});
    });
    if (!answer.isText() || !answer.asText().empty()) state.SkipWithError("ConsolidaDistratoTotal did not consolidate");
  }
  ReportCallCpu(state, cpu);
}

// The party list the main screen asks for when the filter is left.
void BM_GetContratante(benchmark::State& state) {
  const Databases& d = DatabasesFor(static_cast<int>(state.range(0)));
  AppServer app(d.fresh);
  std::size_t rows = 0, bytes = 0;
  double cpu = 0;
  for (auto _ : state)
    TimeCall(state, cpu, [&] {
      const Variant parties = Call(app, "GetContratante", {kBranch, kBudget});
      rows = parties.asPacket().rowCount();
      bytes = wire::EncodeValue(parties).size();
    });
  if (rows != static_cast<std::size_t>(state.range(0))) state.SkipWithError("GetContratante missed parties");
  state.counters["parties"] = static_cast<double>(rows);
  state.counters["encoded_bytes"] = static_cast<double>(bytes);
  ReportCallCpu(state, cpu);
}

BENCHMARK(BM_GetContratante)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ConfValTodosCont)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_InsContratDistrato)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_DistratoTotal)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ConsolidaDistratoTotal)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
