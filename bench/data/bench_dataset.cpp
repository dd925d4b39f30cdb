// Dataset speed on a budget with 100,000 receivables: loading the packet,
// finding one near the end by a two-field key, and sorting by a date and by
// a text column. Targets: load <= 100 ms, locate <= 5 ms, sort <= 60 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "../common/receivables_packet.h"
#include "data/client_dataset.h"
#include "data/formats.h"

namespace {

constexpr int kRows = static_cast<int>(bench::kReceivablesRows);

std::string Num(int v, int width) {
  std::string s = std::to_string(v);
  return s.size() >= static_cast<std::size_t>(width) ? s : std::string(width - s.size(), '0') + s;
}

const Variant& ContasPacket() {
  static const Variant packet = bench::ReceivablesPacket(kRows, [](std::size_t row) -> DataPacket::Row {
    const int i = static_cast<int>(row);
    const double base = EncodeDate(2026, 1, 1).days;
    // Scrambled so sorting has real work to do.
    int k = static_cast<int>((static_cast<long long>(i) * 7919) % kRows);
    return {i % 7 == 0 ? Variant(Num(k, 6)) : Variant(""), "N", Num(i, 10), "01", i % 3 ? "N" : "S",
            i % 2 ? "T" : "F", "E", Num(k, 8), "NN" + Num(k, 12), "DOC-" + Num(k, 8) + "/" + Num(i % 12, 2),
            DateTime{base + k % 900}, DateTime{base + k % 700}, "Cliente de Teste Número " + Num(k, 6),
            Num(i % 12 + 1, 2), Num(i % 99, 2), i % 4 ? "A" : "B", 100.0 + (k % 10000) / 100.0,
            "CC" + Num(k % 50, 4), Num(i / 12, 10)};
  });
  return packet;
}

void Declare(TClientDataSet& ds) {
  for (const FieldDef& f : bench::ReceivablesFields()) ds.AddField(f.name, f.type, f.size);
}

void BM_SetData(benchmark::State& state) {
  const Variant& packet = ContasPacket();
  TClientDataSet ds("cdsContas");
  Declare(ds);
  for (auto _ : state) {
    ds.SetData(packet);
    benchmark::DoNotOptimize(ds.RecordCount());
  }
}
BENCHMARK(BM_SetData)->Unit(benchmark::kMillisecond);

void BM_LocateTwoFieldsNearTheEnd(benchmark::State& state) {
  TClientDataSet ds("cdsContas");
  Declare(ds);
  ds.SetData(ContasPacket());
  int target = kRows - 10;
  Variant key = MakeArray({Num(target, 10), Num(target / 12, 10)});
  for (auto _ : state) {
    ds.First();
    bool found = ds.Locate("NRBAIXAREC;NRLANCTONF", key, loCaseInsensitive);
    if (!found) state.SkipWithError("record not found");
  }
}
BENCHMARK(BM_LocateTwoFieldsNearTheEnd)->Unit(benchmark::kMillisecond);

void SortBy(benchmark::State& state, const char* field) {
  TClientDataSet ds("cdsContas");
  Declare(ds);
  ds.SetData(ContasPacket());
  for (auto _ : state) {
    ds.SetIndexFieldNames(field);
    state.PauseTiming();
    ds.SetIndexFieldNames("");
    state.ResumeTiming();
  }
}

void BM_SortByDate(benchmark::State& state) { SortBy(state, "DTATUAVENREC"); }
BENCHMARK(BM_SortByDate)->Unit(benchmark::kMillisecond);

void BM_SortByText(benchmark::State& state) { SortBy(state, "DOCUMENTO"); }
BENCHMARK(BM_SortByText)->Unit(benchmark::kMillisecond);

void BM_SortByName(benchmark::State& state) { SortBy(state, "NMRAZSOCCLIE"); }
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);

void BM_ReadEveryRecord(benchmark::State& state) {
  TClientDataSet ds("cdsContas");
  Declare(ds);
  ds.SetData(ContasPacket());
  TField& value = ds.FieldByName("VRATUAREC");
  for (auto _ : state) {
    double sum = 0;
    for (ds.First(); !ds.Eof(); ds.Next()) sum += value.AsFloat();
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadEveryRecord)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
