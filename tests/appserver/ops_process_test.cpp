// What the people who run the server see: the metrics port scraped during a
// burst of calls and read back with Prometheus' own parser, its health and
// readiness answers, and an online backup taken while rescissions are
// written.

#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/exceptions.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "lib/consiste.h"
#include "net/net_connection.h"
#include "test_server.h"
#include "app_server.h"
#include "storage/database.h"
#include "test_support.h"

namespace {

void ConnectTo(TNetConnection& c, int port) {
  c.SetHost("127.0.0.1");
  c.SetPort(port);
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(60000);
}

// The samples of a scrape as Prometheus' Python client parses them, by
// "name{label=value,...}" with the labels sorted; fails the test when the
// text does not parse.
std::map<std::string, double> Parse(const std::string& exposition) {
  const std::string file = ::testing::TempDir() + "/scrape-" + std::to_string(getpid()) + ".txt";
  std::ofstream(file) << exposition;
  FILE* parser = popen(("/usr/bin/python3 " DX_PARSE_METRICS " < " + file + " 2>&1").c_str(), "r");
  std::string output;
  char chunk[4096];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, parser)) output.append(chunk, n);
  const int status = pclose(parser);
  std::remove(file.c_str());
  EXPECT_EQ(status, 0) << "the Prometheus parser refused the scrape:\n" << output;
  std::map<std::string, double> samples;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const auto blank = line.rfind(' ');
    samples[line.substr(0, blank)] = std::stod(line.substr(blank + 1));
  }
  return samples;
}

class OpsOnBackend : public ::testing::TestWithParam<Backend> {};
INSTANTIATE_TEST_SUITE_P(Backends, OpsOnBackend, AllBackends(), BackendName);

TEST_P(OpsOnBackend, MetricsCountEveryCallOfABurstAndParseWithPrometheusParser) {
  const int metricsPort = dx_test::FreeLoopbackPort();
  dx_test::DemoOptions options = DemoOn(GetParam());
  options.serveArgs = {"--metrics-listen", "127.0.0.1:" + std::to_string(metricsPort)};
  dx_test::DemoServer server(options);
  httplib::Client http("127.0.0.1", metricsPort);

  constexpr int kClients = 4, kAnswered = 30, kRefused = 5;
  std::atomic<bool> burstOver{false};
  std::vector<std::string> duringBurst;
  std::thread scraper([&] {
    while (!burstOver) {
      if (auto res = http.Get("/metrics"); res && res->status == 200) duringBurst.push_back(res->body);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i)
    clients.emplace_back([&] {
      TNetConnection c;
      ConnectTo(c, server.port());
      for (int k = 0; k < kAnswered; ++k) c.AppServer("GetVdOrca", {"0001", demo::kMainBudget});
      for (int k = 0; k < kRefused; ++k) {
        // One argument short: refused before the method runs.
        EXPECT_THROW(c.AppServer("GetVdOrca", {"0001"}), Exception);
      }
    });
  for (std::thread& t : clients) t.join();
  burstOver = true;
  scraper.join();
  ASSERT_FALSE(duringBurst.empty());
  Parse(duringBurst[duringBurst.size() / 2]);  // a scrape taken mid-burst parses too

  // Held open while scraping: one connection logged in, one that never says a word.
  TNetConnection held;
  ConnectTo(held, server.port());
  held.AppServer("GetVdOrca", {"0001", demo::kMainBudget});
  const int silent = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<std::uint16_t>(server.port()));
  ASSERT_EQ(connect(silent, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  TNetConnection wrong;
  ConnectTo(wrong, server.port());
  wrong.SetLogin(dx_test::kDemoOperator, "senha errada");
  EXPECT_THROW(wrong.AppServer("GetVdOrca", {"0001", demo::kMainBudget}), Exception);
  wrong.Close();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the server has seen the silent one

  auto scrape = http.Get("/metrics");
  ASSERT_TRUE(scrape);
  EXPECT_EQ(scrape->get_header_value("Content-Type").rfind("text/plain; version=0.0.4", 0), 0u);
  const std::map<std::string, double> m = Parse(scrape->body);
  auto at = [&m](const std::string& key) {
    const auto found = m.find(key);
    EXPECT_NE(found, m.end()) << key;
    return found == m.end() ? -1.0 : found->second;
  };
  EXPECT_EQ(at("dxr10900_calls_total{method=GetVdOrca,outcome=ok}"), kClients * kAnswered + 1);
  EXPECT_EQ(at("dxr10900_calls_total{method=GetVdOrca,outcome=refused}"), kClients * kRefused);
  EXPECT_EQ(at("dxr10900_calls_total{method=GetVdOrca,outcome=error}"), 0);
  EXPECT_EQ(at("dxr10900_call_duration_seconds_count{method=GetVdOrca}"), kClients * (kAnswered + kRefused) + 1);
  EXPECT_EQ(at("dxr10900_call_duration_seconds_bucket{le=+Inf,method=GetVdOrca}"),
            kClients * (kAnswered + kRefused) + 1);
  EXPECT_EQ(at("dxr10900_calls_total{method=Login,outcome=ok}"), kClients + 1);
  EXPECT_EQ(at("dxr10900_calls_total{method=Login,outcome=refused}"), 1);
  EXPECT_EQ(at("dxr10900_logins_total{outcome=accepted}"), kClients + 1);
  EXPECT_EQ(at("dxr10900_logins_total{outcome=refused}"), 1);
  EXPECT_EQ(at("dxr10900_logins_total{outcome=locked}"), 0);
  EXPECT_EQ(at("dxr10900_connections{state=logged_in}"), 1);
  EXPECT_EQ(at("dxr10900_connections{state=anonymous}"), 1);
  EXPECT_EQ(at("dxr10900_connections_refused_total{}"), 0);
  EXPECT_EQ(at("dxr10900_worker_queue_length{}"), 0);
  EXPECT_GT(at("dxr10900_database_size_bytes{}"), 0);
  EXPECT_GT(at("process_resident_memory_bytes{}"), 0);
  EXPECT_GT(at("process_start_time_seconds{}"), 1.7e9);

  close(silent);
  auto healthy = http.Get("/healthz");
  ASSERT_TRUE(healthy);
  EXPECT_EQ(healthy->status, 200);
  auto ready = http.Get("/readyz");
  ASSERT_TRUE(ready);
  EXPECT_EQ(ready->status, 200) << ready->body;
}

// The backup holds the database as it stood when it began: every rescission a
// client was told of before then is in it, and the copy checks whole.
TEST(OnlineBackup, ACopyTakenDuringABurstOfRescissionsHoldsEveryOneAcknowledgedBefore) {
  constexpr int kClients = 3, kEach = 20;
  dx_test::DemoOptions options;
  options.parties = kClients * kEach;
  dx_test::DemoServer server(options);
  dx_test::TempDir dir;
  const std::string copy = dir.file("copia.db");

  std::mutex mutex;
  std::vector<std::pair<std::chrono::steady_clock::time_point, std::string>> acknowledged;
  std::atomic<int> done{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i)
    clients.emplace_back([&, i] {
      TNetConnection c;
      ConnectTo(c, server.port());
      for (int k = 0; k < kEach; ++k) try {
        std::string party = std::to_string(i * kEach + k + 1);
        party = "B" + std::string(7 - party.size(), '0') + party;
        const Variant priced = CheckResultServ(
            c.AppServer("ConfirmaValores", {"0001", demo::kBulkBudget, "01", "1", "01", Variant(0.0), party, "", "N"}),
            true, 0);
        const DataPacket& values = priced[0].asPacket();
        const double negotiated = values.at(0, "VRORIGREC").asDouble();
        const bool payable = values.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
        CheckResultServ(c.AppServer("Distrato", {"0001", demo::kBulkBudget, "01", "1", "SUPERVISOR", party,
                                                 values.at(0, "VRMULTA"), "", Variant(negotiated),
                                                 Variant(payable ? -negotiated : negotiated)}),
                        true, 0);
        std::lock_guard lock(mutex);
        acknowledged.emplace_back(std::chrono::steady_clock::now(), party);
        ++done;
      } catch (const Exception& e) {
        ADD_FAILURE() << e.Message();
        ++done;
      }
    });
  while (done < kClients * kEach / 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const auto began = std::chrono::steady_clock::now();
  const int status = dx_test::RunServerProgram({"--db", server.database(), "--backup", copy});
  for (std::thread& t : clients) t.join();
  ASSERT_EQ(status, 0);

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(copy.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  auto text = [db](const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
    std::string out = sqlite3_step(st) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
    sqlite3_finalize(st);
    return out;
  };
  EXPECT_EQ(text("PRAGMA integrity_check"), "ok");
  int before = 0;
  for (const auto& [when, party] : acknowledged) {
    if (when >= began) continue;
    ++before;
    EXPECT_EQ(text("SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE NRORCAEVENTO = '" + std::string(demo::kBulkBudget) +
                   "' AND CDCLIENTE = '" + party + "'"),
              "1")
        << party << " was acknowledged before the backup began";
  }
  EXPECT_GE(before, kClients * kEach / 3);
  sqlite3_close(db);
  // A second copy to the same name is refused, leaving the first as it was.
  EXPECT_NE(dx_test::RunServerProgram({"--db", server.database(), "--backup", copy}), 0);
}

}  // namespace

namespace {

// /readyz answers 503 with the reason while the database's schema is not the
// one this server was built for.
TEST(Readiness, TellsADatabaseWhoseSchemaIsNotTheServers) {
  ScratchDir dir;
  const std::string path = dir.file("ready.db");
  AppServer app(path);
  EXPECT_EQ(app.readiness(), std::nullopt);
  EXPECT_GT(app.databaseSizeBytes(), 0u);
  {
    Database db(path);
    db.setUserVersion(db.userVersion() - 1);
  }
  const std::optional<std::string> outdated = app.readiness();
  ASSERT_TRUE(outdated);
  EXPECT_NE(outdated->find("esquema na versão"), std::string::npos) << *outdated;
}

}  // namespace
