// Losing a server is a non-event. Two dxr10900-server processes share one
// PostgreSQL database; several clients rescind parties in a burst, reaching
// the servers either through their own list of servers or through two real
// HAProxy balancers with the packaged configuration; one server is killed
// (SIGKILL) in the middle of the burst. Every client finishes, every
// acknowledged rescission is recorded exactly once, and nothing else is
// half done. Each run prints the longest call each client saw after the
// kill: the failover time an operator notices.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/exceptions.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "lib/consiste.h"
#include "net/net_connection.h"
#include "scratch_postgres.h"
#include "test_server.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClients = 6;
constexpr int kPartiesEach = 6;

std::string PartyCode(int i) {
  char code[16];
  std::snprintf(code, sizeof code, "B%07d", i);
  return code;
}

bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
  close(fd);
  return ok;
}

// The packaged HAProxy configuration, pointed at this test's servers and
// listening on `port`; logging to standard error instead of syslog.
std::string BalancerConfig(int port, const dx_test::ServerProcess& a, int metricsA, const dx_test::ServerProcess& b,
                           int metricsB) {
  std::ifstream in(DX_HAPROXY_CONFIG);
  std::ostringstream out;
  const auto replace = [](std::string line, const std::string& from, const std::string& to) {
    const auto at = line.find(from);
    return at == std::string::npos ? line : line.replace(at, from.size(), to);
  };
  for (std::string line; std::getline(in, line);) {
    line = replace(line, "log /dev/log", "log stderr format short");
    line = replace(line, "bind :7100", "bind 127.0.0.1:" + std::to_string(port));
    if (line.find("server app1 ") != std::string::npos)
      line = replace(replace(line, "10.0.0.11:7070", a.address()), "port 7101", "port " + std::to_string(metricsA));
    if (line.find("server app2 ") != std::string::npos)
      line = replace(replace(line, "10.0.0.12:7070", b.address()), "port 7101", "port " + std::to_string(metricsB));
    out << line << "\n";
  }
  return out.str();
}

// Debian's haproxy in the foreground on a configuration file; stopped with
// the object. started() is false (and why() says why) when it did not come up.
class Balancer {
 public:
  Balancer(const std::string& configFile, int port) : port_(port) {
    if (access("/usr/sbin/haproxy", X_OK) != 0) {
      why_ = "haproxy is not installed (scripts/install-deps installs it)";
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      execl("/usr/sbin/haproxy", "haproxy", "-db", "-f", configFile.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && !Accepts(port); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!Accepts(port)) why_ = "haproxy did not start listening on port " + std::to_string(port);
  }
  ~Balancer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  Balancer(const Balancer&) = delete;
  Balancer& operator=(const Balancer&) = delete;
  bool started() const { return why_.empty(); }
  const std::string& why() const { return why_; }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_;
  std::string why_;
};

// What one client did: the parties it was told were rescinded, why it
// stopped early (if it did), and the longest call that ended after the kill.
struct ClientRun {
  std::vector<std::string> acknowledged;
  std::string failure;
  double longestAfterKillMs = 0;
};

Variant Payload(TNetConnection& c, const std::string& method, std::initializer_list<Variant> args) {
  return CheckResultServ(c.AppServer(method, args), true, 0);
}

// An operator rescinding parties first..first+kPartiesEach-1 one after the
// other, each priced first as the screen does.
void Operate(std::vector<ServerAddress> servers, int first, std::atomic<int>& acknowledged,
             const std::atomic<long long>& killedAt, ClientRun& run) {
  TNetConnection c;
  c.SetServers(std::move(servers));
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(30000);
  const auto timed = [&](const std::function<Variant()>& call) {
    const auto begun = Clock::now();
    Variant result = call();
    const auto ended = Clock::now();
    const long long kill = killedAt.load();
    if (kill > 0 && ended.time_since_epoch().count() > kill)
      run.longestAfterKillMs = std::max(run.longestAfterKillMs,
                                        std::chrono::duration<double, std::milli>(ended - begun).count());
    return result;
  };
  const char* budget = demo::kBulkBudget;
  try {
    for (int k = 0; k < kPartiesEach; ++k) {
      const std::string party = PartyCode(first + k);
      const Variant priced =
          timed([&] { return Payload(c, "ConfirmaValores", {"0001", budget, "01", "1", "01", Variant(0.0), party, "", "N"}); });
      const DataPacket& values = priced[0].asPacket();
      const double negotiated = values.at(0, "VRORIGREC").asDouble();
      const bool payable = values.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
      timed([&] {
        return Payload(c, "Distrato", {"0001", budget, "01", "1", "SUPERVISOR", party, values.at(0, "VRMULTA"), "",
                                       Variant(negotiated), Variant(payable ? -negotiated : negotiated)});
      });
      run.acknowledged.push_back(party);
      ++acknowledged;
    }
  } catch (const std::exception& e) {
    run.failure = e.what();
  }
}

enum class Route { kServerList, kHaproxy };

class KillOneServer : public ::testing::TestWithParam<Route> {};

std::string RouteName(const ::testing::TestParamInfo<Route>& route) {
  return route.param == Route::kServerList ? "ServerList" : "Haproxy";
}

INSTANTIATE_TEST_SUITE_P(Routes, KillOneServer, ::testing::Values(Route::kServerList, Route::kHaproxy), RouteName);

TEST_P(KillOneServer, EveryClientFinishesAndEveryAcknowledgedRescissionIsRecordedOnce) {
  const bool viaHaproxy = GetParam() == Route::kHaproxy;
  dx_test::ScratchPostgres* cluster = nullptr;
  try {
    cluster = &dx_test::ScratchPostgres::Shared();
  } catch (const std::exception& e) {
    if (viaHaproxy) GTEST_SKIP() << "PostgreSQL cannot be started here: " << e.what();
    throw;
  }
  dx_test::DemoOptions options = DemoOn(Backend::kPostgres);
  options.parties = kClients * kPartiesEach;
  const dx_test::DemoDatabase demo(options);
  const int metricsA = dx_test::FreeLoopbackPort(), metricsB = dx_test::FreeLoopbackPort();
  const auto metricsAt = [](int port) {
    return std::vector<std::string>{"--metrics-listen", "127.0.0.1:" + std::to_string(port)};
  };
  dx_test::ServerProcess doomed(demo.path(), "", metricsAt(metricsA)), survivor(demo.path(), "", metricsAt(metricsB));
  doomed.requireListening();
  survivor.requireListening();

  // Each client names two routes; half of them start on each.
  std::vector<ServerAddress> routes{{"127.0.0.1", doomed.port()}, {"127.0.0.1", survivor.port()}};
  dx_test::TempDir configs("dxr10900-haproxy-");
  std::vector<std::unique_ptr<Balancer>> balancers;
  if (viaHaproxy) {
    routes.clear();
    for (int i = 0; i < 2; ++i) {
      const int port = dx_test::FreeLoopbackPort();
      const std::string file = configs.file("haproxy" + std::to_string(i) + ".cfg");
      std::ofstream(file) << BalancerConfig(port, doomed, metricsA, survivor, metricsB);
      balancers.push_back(std::make_unique<Balancer>(file, port));
      if (!balancers.back()->started()) GTEST_SKIP() << "HAProxy cannot be started here: " << balancers.back()->why();
      routes.push_back({"127.0.0.1", port});
    }
  }

  std::atomic<int> acknowledged{0};
  std::atomic<long long> killedAt{0};
  std::vector<ClientRun> runs(kClients);
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    std::vector<ServerAddress> mine = routes;
    if (i % 2 == 1) std::reverse(mine.begin(), mine.end());
    clients.emplace_back(Operate, mine, 1 + i * kPartiesEach, std::ref(acknowledged), std::cref(killedAt),
                         std::ref(runs[static_cast<std::size_t>(i)]));
  }
  // In the middle of the burst.
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (acknowledged < kClients * kPartiesEach / 3 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  killedAt = Clock::now().time_since_epoch().count();
  doomed.stop(SIGKILL);
  for (std::thread& t : clients) t.join();

  std::vector<double> failover;
  for (const ClientRun& run : runs) {
    EXPECT_EQ(run.failure, "") << "a client saw the loss of a server";
    EXPECT_EQ(run.acknowledged.size(), static_cast<std::size_t>(kPartiesEach));
    failover.push_back(run.longestAfterKillMs);
  }
  std::sort(failover.begin(), failover.end());
  std::printf("longest call after the kill, per client (ms):");
  for (double ms : failover) std::printf(" %.0f", ms);
  std::printf("\n");

  const std::string name = dx_test::DatabaseNameOf(demo.path());
  const auto count = [&](const std::string& sql) { return std::stoi(cluster->query(name, sql)); };
  const std::string bulk = std::string("NRORCAEVENTO = '") + demo::kBulkBudget + "'";
  int acknowledgedRows = 0;
  for (const ClientRun& run : runs) {
    for (const std::string& party : run.acknowledged) {
      SCOPED_TRACE(party);
      const std::string ofParty = " WHERE " + bulk + " AND CDCLIENTE = '" + party + "'";
      EXPECT_EQ(count("SELECT COUNT(*) FROM DISTRATOPARCIAL" + ofParty), 1);
      EXPECT_EQ(count("SELECT COUNT(*) FROM AUDITORIA" + ofParty + " AND NMMETODO = 'Distrato'"), 1);
      EXPECT_EQ(count("SELECT COUNT(*) FROM CONTRATANTE" + ofParty + " AND IDORIGEMINCLUSAO = 'DISTRATO'"), 1);
      EXPECT_EQ(cluster->query(name, "SELECT IDCONTPROCESDIST FROM CONTRATANTE" + ofParty + " AND NRSEQORCAEVE = '01'"), "S");
      ++acknowledgedRows;
    }
  }
  // Nothing unacknowledged left a trace: no other rescission, child row or audit row.
  EXPECT_EQ(count("SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE " + bulk), acknowledgedRows);
  EXPECT_EQ(count("SELECT COUNT(*) FROM AUDITORIA WHERE " + bulk + " AND NMMETODO = 'Distrato'"), acknowledgedRows);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CONTRATANTE WHERE " + bulk + " AND NRSEQORCAEVE = '01' AND IDCONTPROCESDIST = 'S'"),
            acknowledgedRows);
  EXPECT_EQ(count("SELECT COUNT(*) FROM REQUISICAOAPLICADA WHERE NMMETODO = 'Distrato'"), acknowledgedRows)
      << "each rescission recorded once under its key";
}

}  // namespace
