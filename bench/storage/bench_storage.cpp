// The cost of a durable commit: one small write transaction, as a remote
// method makes it, with the synchronous level the server uses (FULL: the
// commit is on the disk before the client hears of it) against NORMAL (a
// power loss may take back the last commits).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "storage/database.h"

namespace {

void CommitSmallWrites(benchmark::State& state, const char* synchronous) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "dx-bench-storage";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / (std::string(synchronous) + ".db")).string();
  std::filesystem::remove(path);
  {
    Database db(path);
    db.exec(std::string("PRAGMA synchronous=") + synchronous);
    db.exec("CREATE TABLE T (K INTEGER PRIMARY KEY, V TEXT)");
    int k = 0;
    for (auto _ : state) {
      Transaction t(db, true);
      db.exec("INSERT INTO T (K, V) VALUES (" + std::to_string(++k) + ", 'parcela')");
      t.commit();
    }
  }
  std::filesystem::remove_all(dir);
}

void BM_CommitSynchronousFull(benchmark::State& state) { CommitSmallWrites(state, "FULL"); }
void BM_CommitSynchronousNormal(benchmark::State& state) { CommitSmallWrites(state, "NORMAL"); }

}  // namespace

BENCHMARK(BM_CommitSynchronousFull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CommitSynchronousNormal)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
