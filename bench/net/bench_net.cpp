// The wire's costs: a remote call round trip next to a raw TCP echo of the
// same bytes over loopback (target: at most 1.2 times; measured apart and, in
// BM_RemoteCallAgainstEcho, in turn), and the decoding of a
// large receivables packet (with its load into a dataset: at most 15 ms, and
// the loaded dataset at most 1.5 times the answer's encoded size), its
// packet decoded into columns beside the same through a tree of cells and a
// plain copy of the answer's bytes (BM_DecodeAndLoadAgainstCopy, in turn). Run
// with --benchmark_repetitions=10: the spread matters as much as the median.
//
// On a virtual machine left idle, a round trip costs mostly the time a
// halted CPU takes to wake (tens of microseconds), the same for the call and
// the echo, which hides what the call adds. --keep_cpus_awake (root) keeps
// the CPUs out of their deep idle states while the benchmarks run, as
// latency-bound servers are deployed, so the ratio measures the software.

#include <benchmark/benchmark.h>

#include <asio.hpp>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <thread>

#include "../common/receivables_packet.h"
#include "data/client_dataset.h"
#include "data/packet.h"
#include "net/net_connection.h"
#include "net/rpc_server.h"
#include "net/value_codec.h"
#include "net/wire_codec.h"

namespace {

const Variant kPayload = Variant("0001|0000012345|01|CNTGERADA");

Variant Echo(const std::string&, std::vector<Variant>& args) { return args.empty() ? Variant() : args[0]; }

// Bytes of one framed request and of its answer, so the raw echo moves as much.
std::size_t CallBytes() {
  std::size_t request = 4 + wire::EncodeRequest({1, "Echo", {kPayload}}).size();
  std::size_t response = 4 + wire::EncodeResponse({1, true, kPayload, "", {}}).size();
  return std::max(request, response);
}

void BM_RemoteCall(benchmark::State& state) {
  RpcServer server(Echo);
  std::uint16_t port = server.listen("127.0.0.1", 0);
  std::thread serving([&] { server.run(); });
  {
    TNetConnection net;
    net.SetHost("127.0.0.1");
    net.SetPort(port);
    net.SetConnected(true);
    std::vector<Variant> args{kPayload};
    for (auto _ : state) benchmark::DoNotOptimize(net.Call("Echo", args));
  }
  server.stop();
  serving.join();
}
BENCHMARK(BM_RemoteCall)->UseRealTime();

// A thread that accepts one connection and echoes blocks of n bytes back
// until the client closes: the plainest round trip TCP allows.
std::thread EchoOnce(asio::ip::tcp::acceptor& acceptor, std::size_t n) {
  return std::thread([&acceptor, n] {
    asio::ip::tcp::socket s = acceptor.accept();
    s.set_option(asio::ip::tcp::no_delay(true));
    std::vector<char> buf(n);
    asio::error_code ec;
    while (!ec) {
      asio::read(s, asio::buffer(buf), ec);
      if (!ec) asio::write(s, asio::buffer(buf), ec);
    }
  });
}

void BM_RawEcho(benchmark::State& state) {
  const std::size_t n = CallBytes();
  asio::io_context io;
  asio::ip::tcp::acceptor acceptor(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  std::thread echo = EchoOnce(acceptor, n);
  {
    asio::ip::tcp::socket c(io);
    c.connect(acceptor.local_endpoint());
    c.set_option(asio::ip::tcp::no_delay(true));
    std::vector<char> out(n, 'x'), in(n);
    for (auto _ : state) {
      asio::write(c, asio::buffer(out));
      asio::read(c, asio::buffer(in));
    }
  }
  echo.join();
}
BENCHMARK(BM_RawEcho)->UseRealTime();

// The two side by side, a call and an echo in turn, so both meet the same
// load on a shared machine: the medians of each and their ratio.
void BM_RemoteCallAgainstEcho(benchmark::State& state) {
  RpcServer server(Echo);
  std::uint16_t port = server.listen("127.0.0.1", 0);
  std::thread serving([&] { server.run(); });
  const std::size_t n = CallBytes();
  asio::io_context io;
  asio::ip::tcp::acceptor acceptor(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  std::thread echo = EchoOnce(acceptor, n);
  std::vector<double> calls, echoes;
  {
    TNetConnection net;
    net.SetHost("127.0.0.1");
    net.SetPort(port);
    net.SetConnected(true);
    std::vector<Variant> args{kPayload};
    asio::ip::tcp::socket c(io);
    c.connect(acceptor.local_endpoint());
    c.set_option(asio::ip::tcp::no_delay(true));
    std::vector<char> out(n, 'x'), in(n);
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
      const auto begun = Clock::now();
      benchmark::DoNotOptimize(net.Call("Echo", args));
      const auto called = Clock::now();
      asio::write(c, asio::buffer(out));
      asio::read(c, asio::buffer(in));
      const auto echoed = Clock::now();
      calls.push_back(std::chrono::duration<double, std::micro>(called - begun).count());
      echoes.push_back(std::chrono::duration<double, std::micro>(echoed - called).count());
    }
  }
  echo.join();
  server.stop();
  serving.join();
  auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  if (calls.empty()) return;
  const double call = median(calls), raw = median(echoes);
  state.counters["call_us"] = call;
  state.counters["echo_us"] = raw;
  state.counters["call_per_echo"] = call / raw;
}
BENCHMARK(BM_RemoteCallAgainstEcho)->UseRealTime();

// Receivables with sequential values.
Variant Receivables(std::size_t rows) {
  return bench::ReceivablesPacket(rows, [](std::size_t i) -> DataPacket::Row {
    std::string n = std::to_string(i);
    return {Variant(), "N", n, "01", "N", "T", "A", n, "000" + n, "DOC-" + n + "/0001",
            DateTime{45000.0 + double(i % 365)}, DateTime{45000.0 + double(i % 365)},
            "CLIENTE DE EVENTOS LTDA " + n, "01", "02", "A", 1234.56 + double(i), "001", n};
  });
}

// Bytes the allocator has handed out and not yet taken back.
std::size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

// The answer of a receivables query, encoded.
std::string ReceivablesAnswer() {
  return wire::EncodeResponse({1, true, MakeArray({Receivables(bench::kReceivablesRows), 3, Variant()}), "", {}});
}

void BM_DecodeReceivables(benchmark::State& state) {
  const std::string body = ReceivablesAnswer();
  for (auto _ : state) {
    wire::Response r = wire::DecodeResponse(body);
    benchmark::DoNotOptimize(r);
  }
  state.counters["bytes"] = static_cast<double>(body.size());
}
BENCHMARK(BM_DecodeReceivables)->Unit(benchmark::kMillisecond);

// The dataset the main screen loads receivables into.
void DeclareReceivables(TClientDataSet& contas) {
  for (const FieldDef& f : bench::ReceivablesFields()) contas.AddField(f.name, f.type, f.size);
}

// The answer decoded the way the connection does it: its packet straight into columns.
Variant AnswerPacketInColumns(const std::string& body) { return wire::DecodeResponse(body).result[0]; }

// The answer decoded into a tree of values, every cell a Variant, as it was
// before packets came as columns: the reference the columns are measured against.
Variant AnswerPacketAsCells(const std::string& body) { return wire::DecodeValue(body).asArray()[3].asArray()[0]; }

// The counters of a dataset loaded from `body`: what it keeps once the answer
// is gone, next to what came.
void CountDatasetMemory(benchmark::State& state, const std::string& body, Variant (*decode)(const std::string&)) {
  TClientDataSet contas;
  DeclareReceivables(contas);
  const std::size_t empty = HeapInUse();
  contas.SetData(decode(body));
  const std::size_t loaded = HeapInUse();
  const double datasetBytes = loaded > empty ? static_cast<double>(loaded - empty) : 0.0;
  state.counters["encoded_bytes"] = static_cast<double>(body.size());
  state.counters["dataset_bytes"] = datasetBytes;
  state.counters["dataset_per_encoded"] = datasetBytes / static_cast<double>(body.size());
}

// The answer decoded by `decode` and its packet loaded into a dataset with
// the receivables' declared fields, then the dataset's memory counted.
void DecodeAndLoad(benchmark::State& state, Variant (*decode)(const std::string&)) {
  const std::string body = ReceivablesAnswer();
  TClientDataSet contas;
  DeclareReceivables(contas);
  for (auto _ : state) {
    contas.SetData(decode(body));
    benchmark::DoNotOptimize(contas.RecordCount());
  }
  contas.Close();
  CountDatasetMemory(state, body, decode);
}

// What the screen pays when the answer arrives (targets: at most 15 ms, the
// dataset at most 1.5 times the encoded size).
void BM_DecodeAndLoadReceivables(benchmark::State& state) { DecodeAndLoad(state, AnswerPacketInColumns); }
BENCHMARK(BM_DecodeAndLoadReceivables)->Unit(benchmark::kMillisecond);

// The same through a tree of values, cell by cell.
void BM_DecodeAndLoadReceivablesAsCells(benchmark::State& state) { DecodeAndLoad(state, AnswerPacketAsCells); }
BENCHMARK(BM_DecodeAndLoadReceivablesAsCells)->Unit(benchmark::kMillisecond);

// The two loads and a plain copy of the encoded answer, in turn, so all three
// meet the same load on a shared machine: the medians of each, the columns
// against the cells and against one pass over the answer's bytes.
void BM_DecodeAndLoadAgainstCopy(benchmark::State& state) {
  const std::string body = ReceivablesAnswer();
  TClientDataSet contas;
  DeclareReceivables(contas);
  std::string copy(body.size(), '\0');
  std::vector<double> columns, cells, copies;
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  for (auto _ : state) {
    const auto begun = Clock::now();
    contas.SetData(AnswerPacketInColumns(body));
    benchmark::DoNotOptimize(contas.RecordCount());
    const auto inColumns = Clock::now();
    contas.SetData(AnswerPacketAsCells(body));
    benchmark::DoNotOptimize(contas.RecordCount());
    const auto asCells = Clock::now();
    std::memcpy(copy.data(), body.data(), body.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
    const auto copied = Clock::now();
    columns.push_back(ms(inColumns - begun));
    cells.push_back(ms(asCells - inColumns));
    copies.push_back(ms(copied - asCells));
  }
  auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
  };
  if (columns.empty()) return;
  const double column = median(columns), cell = median(cells), pass = median(copies);
  state.counters["columns_ms"] = column;
  state.counters["cells_ms"] = cell;
  state.counters["copy_ms"] = pass;
  state.counters["columns_per_cells"] = column / cell;
  state.counters["columns_per_copy"] = column / pass;
}
BENCHMARK(BM_DecodeAndLoadAgainstCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeReceivables(benchmark::State& state) {
  const Variant v = Receivables(bench::kReceivablesRows);
  for (auto _ : state) benchmark::DoNotOptimize(wire::EncodeResponse({1, true, v, "", {}}));
}
BENCHMARK(BM_EncodeReceivables)->Unit(benchmark::kMillisecond);

// Prints as usual and remembers each benchmark's time per iteration: the
// median of its repetitions when it was repeated.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      const std::string name = r.run_name.str();
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        seconds[name] = r.GetAdjustedRealTime();
        medians.insert(name);
      } else if (r.run_type == Run::RT_Iteration && !medians.count(name)) {
        seconds[name] = r.GetAdjustedRealTime();
      }
    }
  }
  std::map<std::string, double> seconds;
  std::set<std::string> medians;
};

// While alive, asks the kernel to keep every CPU out of idle states slower to
// leave than 0 µs: held through /dev/cpu_dma_latency, given up when closed.
class CpusKeptAwake {
 public:
  CpusKeptAwake() : fd_(::open("/dev/cpu_dma_latency", O_WRONLY | O_CLOEXEC)) {
    const std::int32_t none = 0;
    if (fd_ >= 0 && ::write(fd_, &none, sizeof none) != sizeof none) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~CpusKeptAwake() {
    if (fd_ >= 0) ::close(fd_);
  }
  CpusKeptAwake(const CpusKeptAwake&) = delete;
  CpusKeptAwake& operator=(const CpusKeptAwake&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;  // open for as long as the request holds
};

// Takes --keep_cpus_awake out of the arguments; true when it was there.
bool TakeKeepAwakeFlag(int& argc, char** argv) {
  bool found = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--keep_cpus_awake") == 0) found = true;
    else argv[kept++] = argv[i];
  }
  argc = kept;
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<CpusKeptAwake> awake;
  if (TakeKeepAwakeFlag(argc, argv)) {
    awake.emplace();
    std::printf("CPUs kept awake: %s\n", awake->held() ? "yes" : "no (/dev/cpu_dma_latency needs root)");
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto call = reporter.seconds.find("BM_RemoteCall/real_time");
  auto raw = reporter.seconds.find("BM_RawEcho/real_time");
  if (call != reporter.seconds.end() && raw != reporter.seconds.end() && raw->second > 0)
    std::printf("remote call / raw echo = %.2f (target at most 1.20)\n", call->second / raw->second);
  benchmark::Shutdown();
  return 0;
}
