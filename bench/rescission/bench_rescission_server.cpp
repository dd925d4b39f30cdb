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
// Arguments: parties in the bulk budget; backend (0 SQLite, 1 PostgreSQL, a
// throwaway cluster started here; each iteration of a writing method runs on
// a copy made with CREATE DATABASE ... TEMPLATE).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app_server.h"
#include "data/packet.h"
#include "data/process_memory.h"
#include "demo/demo_database.h"
#include "methods/consolidator.h"
#include "methods/rescission_store.h"
#include "net/value_codec.h"
#include "scratch_postgres.h"
#include "storage/database.h"
#include "storage/storage.h"

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
// rescission recorded and reviewed (ready to consolidate). Made once per size
// and backend.
struct Databases {
  Databases() = default;
  Databases(Databases&&) = default;
  ~Databases() {
    std::error_code ignored;
    if (!dir.empty()) fs::remove_all(dir, ignored);
  }
  bool postgres = false;
  fs::path dir;
  std::string fresh, rescinded;
};

// A copy of `source` for one iteration of a writing method: a file copy on
// SQLite, a database made from it as a template on PostgreSQL (nothing may be
// connected to the source then).
std::string Copy(const Databases& d, const std::string& source) {
  if (d.postgres) {
    static int copies = 0;
    const std::string name = "copia" + std::to_string(++copies);
    dx_test::ScratchPostgres& cluster = dx_test::ScratchPostgres::Shared();
    cluster.query("postgres", "CREATE DATABASE " + name + " TEMPLATE " + dx_test::DatabaseNameOf(source));
    return cluster.conninfo(name);
  }
  const std::string target = (d.dir / "run.db").string();
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(target + suffix);
  fs::copy_file(source, target);
  return target;
}

void Analyze(const std::string& conninfo) {
  dx_test::ScratchPostgres::Shared().query(dx_test::DatabaseNameOf(conninfo), "ANALYZE");
}

const Databases& DatabasesFor(const benchmark::State& state) {
  // The process as the server sets it up.
  KeepFreedMemoryForReuse();
  const int parties = static_cast<int>(state.range(0));
  const bool postgres = state.range(1) == 1;
  static std::map<std::pair<int, bool>, Databases> made;
  auto it = made.find({parties, postgres});
  if (it != made.end()) return it->second;
  Databases d;
  d.postgres = postgres;
  d.dir = fs::temp_directory_path() / ("dxr10900-bench-" + std::to_string(getpid()) + "-" + std::to_string(parties));
  fs::create_directories(d.dir);
  d.fresh = postgres ? dx_test::ScratchPostgres::Shared().createDatabase() : (d.dir / "fresh.db").string();
  WriteDemoDatabase(d.fresh, parties);
  // A live site's tables have statistics (autovacuum analyzes them after a
  // load); a copy made at once would be planned as empty tables instead.
  if (postgres) Analyze(d.fresh);
  d.rescinded = postgres ? Copy(d, d.fresh) : (d.dir / "rescinded.db").string();
  if (!postgres) fs::copy_file(d.fresh, d.rescinded);
  {
    AppServer app(d.rescinded);
    Call(app, "DistratoTotal", {kBranch, kBudget, "SUPERVISOR", "01", EmptyList(), Priced(app, "N")});
    std::vector<Variant> review{Priced(app, "S"), kBranch, kBudget};
    app.call("InsContratDistrato", review);
  }
  if (postgres) Analyze(d.rescinded);
  return made.emplace(std::make_pair(parties, postgres), std::move(d)).first->second;
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

void BM_ConfValTodosCont(benchmark::State& state) {
  const Databases& d = DatabasesFor(state);
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
  const Databases& d = DatabasesFor(state);
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
  const Databases& d = DatabasesFor(state);
  double cpu = 0;
  for (auto _ : state) {
    AppServer app(Copy(d, d.fresh));
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
  const Databases& d = DatabasesFor(state);
  double cpu = 0;
  for (auto _ : state) {
    AppServer app(Copy(d, d.rescinded));
    const Variant parties = Priced(app, "S");
    Variant answer;
    TimeCall(state, cpu, [&] {
      answer = Call(app, "ConsolidaDistratoTotal", {kBranch, kBudget, "SUPERVISOR", "1", parties});
    });
    if (!answer.isText() || !answer.asText().empty()) state.SkipWithError("ConsolidaDistratoTotal did not consolidate");
  }
  ReportCallCpu(state, cpu);
}

// The storage's share of the two whole-budget writes, timed alone: the
// statements that cancel the budget's contracts and their receivables (the
// total rescission) or close them (its consolidation), and the commit that
// makes them durable, with nothing of the methods' reading, checking or
// inserting around them: what changing the rows each method must change
// costs on this database, beside what the method costs whole. The parties
// are read first, untimed, as the methods read them before writing.
template <class Write>
void TimeWritesAlone(benchmark::State& state, const std::string& source, rescission_store::PartySet set, Write write) {
  const Databases& d = DatabasesFor(state);
  const rescission_store::BudgetKey b{kBranch, kBudget};
  double cpu = 0;
  for (auto _ : state) {
    Storage storage(Copy(d, source));
    Database& db = storage.connection();
    Transaction t(db, true);
    const std::size_t parties = rescission_store::LoadParties(db, b, set).size();
    TimeCall(state, cpu, [&] {
      write(db, b, parties);
      t.commit();
    });
  }
  ReportCallCpu(state, cpu);
}

void BM_DistratoTotalWritesAlone(benchmark::State& state) {
  const Databases& d = DatabasesFor(state);
  TimeWritesAlone(state, d.fresh, rescission_store::PartySet::Free,
                  [](Database& db, const rescission_store::BudgetKey& b, std::size_t parties) {
                    if (rescission_store::CancelFreeParties(db, b, "TOTAL") != static_cast<std::int64_t>(parties))
                      throw std::runtime_error("the bulk budget's parties were not all cancelled");
                  });
}

void BM_ConsolidaWritesAlone(benchmark::State& state) {
  const Databases& d = DatabasesFor(state);
  TimeWritesAlone(state, d.rescinded, rescission_store::PartySet::InTotalProcess,
                  [](Database& db, const rescission_store::BudgetKey& b, std::size_t parties) {
                    Consolidator(db, b, "T", "1").CloseTotalRescission(parties);
                  });
}

// The party list the main screen asks for when the filter is left.
void BM_GetContratante(benchmark::State& state) {
  const Databases& d = DatabasesFor(state);
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

// 10,000 parties on SQLite, then on PostgreSQL.
void Backends(benchmark::internal::Benchmark* b) {
  b->ArgNames({"parties", "postgres"})->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond)->UseManualTime();
}

BENCHMARK(BM_GetContratante)->Args({10000, 0})->ArgNames({"parties", "postgres"})->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ConfValTodosCont)->Apply(Backends)->Iterations(5);
BENCHMARK(BM_InsContratDistrato)->Apply(Backends)->Iterations(5);
BENCHMARK(BM_DistratoTotal)->Apply(Backends)->Iterations(3);
BENCHMARK(BM_ConsolidaDistratoTotal)->Apply(Backends)->Iterations(3);
BENCHMARK(BM_DistratoTotalWritesAlone)->Apply(Backends)->Iterations(3);
BENCHMARK(BM_ConsolidaWritesAlone)->Apply(Backends)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
