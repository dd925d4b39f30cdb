// Two dxr10900-server processes on one PostgreSQL database behave as one:
// many clients rescinding and consolidating the same parties at once leave
// every party in one consistent state, every acknowledged change recorded
// and no trace of a refused one; and they wait their turn on the budget
// rather than collide, so the database seldom aborts one to run it again.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/exceptions.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "lib/consiste.h"
#include "metrics_scrape.h"
#include "net/net_connection.h"
#include "scratch_postgres.h"
#include "test_server.h"
#include "test_support.h"

namespace {

constexpr int kParties = 6;
constexpr int kClients = 12;

Variant Payload(TNetConnection& c, const std::string& method, std::initializer_list<Variant> args) {
  return CheckResultServ(c.AppServer(method, args), true, 0);
}

std::string PartyCode(int i) { return "B" + std::string(6, '0') + std::to_string(i); }

// What the clients were told, by method and party.
class Acknowledgements {
 public:
  void add(const std::string& method, const std::string& party) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++count_[method + "/" + party];
  }
  void refused(const std::string& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    refusals_.push_back(message);
  }
  int of(const std::string& method, const std::string& party) {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_[method + "/" + party];
  }
  std::vector<std::string> refusals() {
    std::lock_guard<std::mutex> lock(mutex_);
    return refusals_;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, int> count_;
  std::vector<std::string> refusals_;
};

// One operator at a screen: prices each party, rescinds it with the values
// priced, and consolidates it with a two-installment plan; a refusal moves
// on to the next party.
void Operate(int port, int first, Acknowledgements& acks) {
  TNetConnection c;
  c.SetHost("127.0.0.1");
  c.SetPort(port);
  c.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  c.SetTimeoutMs(60000);
  const char* budget = demo::kBulkBudget;
  for (int k = 0; k < kParties; ++k) {
    const std::string party = PartyCode((first + k) % kParties + 1);
    try {
      const Variant priced = Payload(c, "ConfirmaValores", {"0001", budget, "01", "1", "01", Variant(0.0), party, "", "N"});
      const DataPacket& values = priced[0].asPacket();
      const double negotiated = values.at(0, "VRORIGREC").asDouble();
      const bool payable = values.at(0, "GERACTPAGAR").asText() == "CNTPAGAR";
      Payload(c, "Distrato", {"0001", budget, "01", "1", "SUPERVISOR", party, values.at(0, "VRMULTA"), "",
                              Variant(negotiated), Variant(payable ? -negotiated : negotiated)});
      acks.add("Distrato", party);
    } catch (const Exception& e) {
      acks.refused(e.Message());
    }
    try {
      const Variant recorded = Payload(c, "ConfirmaValores", {"0001", budget, "seq", "1", "01", Variant(0.0), party, "", "S"});
      const DataPacket& values = recorded[0].asPacket();
      DataPacket form({{"IDTPFORMAPGTO", FieldType::String, 1}, {"NRDIAPGTOFIXO", FieldType::Integer, 0},
                       {"NRPARCELAS", FieldType::Integer, 0}, {"IDMESINIPGTO", FieldType::String, 1}});
      form.addRow({Variant("F"), Variant(10), Variant(2), Variant("P")});
      Payload(c, "ConsolidaDistrato", {"0001", budget, "01", "1", Variant(form), values.at(0, "VRORIGREC"), "SUPERVISOR",
                                       "1", party, recorded[1], values.at(0, "GERACTPAGAR"), ""});
      acks.add("ConsolidaDistrato", party);
    } catch (const Exception& e) {
      acks.refused(e.Message());
    }
  }
}

TEST(SharedPostgres, TwoServersOneDatabaseManyClientsOnTheSameParties) {
  dx_test::ScratchPostgres& cluster = dx_test::ScratchPostgres::Shared();
  dx_test::DemoOptions options = DemoOn(Backend::kPostgres);
  options.parties = kParties;
  const dx_test::DemoDatabase demo(options);
  const std::string name = dx_test::DatabaseNameOf(demo.path());
  const int firstMetrics = dx_test::FreeLoopbackPort(), secondMetrics = dx_test::FreeLoopbackPort();
  const auto metricsAt = [](int port) {
    return std::vector<std::string>{"--metrics-listen", "127.0.0.1:" + std::to_string(port)};
  };
  dx_test::ServerProcess first(demo.path(), "", metricsAt(firstMetrics)), second(demo.path(), "", metricsAt(secondMetrics));
  first.requireListening();
  second.requireListening();

  Acknowledgements acks;
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i)
    clients.emplace_back(Operate, i % 2 == 0 ? first.port() : second.port(), i / 2, std::ref(acks));
  for (std::thread& t : clients) t.join();

  for (const std::string& refusal : acks.refusals())
    EXPECT_EQ(refusal.find("Erro no banco de dados"), std::string::npos) << "a failure, not a refusal: " << refusal;

  auto count = [&](const std::string& sql) { return std::stoi(cluster.query(name, sql)); };
  const std::string bulk = std::string("NRORCAEVENTO = '") + demo::kBulkBudget + "'";
  for (int i = 1; i <= kParties; ++i) {
    const std::string party = PartyCode(i);
    const std::string ofParty = " WHERE " + bulk + " AND CDCLIENTE = '" + party + "'";
    const int rescinded = acks.of("Distrato", party);
    const int consolidated = acks.of("ConsolidaDistrato", party);
    SCOPED_TRACE(party + ": " + std::to_string(rescinded) + " rescission(s), " + std::to_string(consolidated) +
                 " consolidation(s) acknowledged");
    EXPECT_EQ(rescinded, 1) << "one operator rescinds a party, the others are refused";
    EXPECT_EQ(consolidated, 1) << "whoever rescinded it consolidates it; later ones are refused";
    EXPECT_EQ(count("SELECT COUNT(*) FROM DISTRATOPARCIAL" + ofParty), rescinded);
    EXPECT_EQ(count("SELECT COUNT(*) FROM CONTRATANTE" + ofParty + " AND IDORIGEMINCLUSAO = 'DISTRATO'"), rescinded)
        << "one child budget row";
    EXPECT_EQ(cluster.query(name, "SELECT IDCONTPROCESDIST FROM CONTRATANTE" + ofParty + " AND NRSEQORCAEVE = '01'"),
              consolidated ? "C" : rescinded ? "S" : "N");
    EXPECT_EQ(count("SELECT COUNT(DISTINCT NRLANCTONF) FROM CONTAPAGAR" + ofParty + " AND IDORIGNFORCA = 'I'") +
                  count("SELECT COUNT(DISTINCT NRLANCTONF) FROM CONTARECEBER" + ofParty + " AND IDORIGNFORCA = 'I'"),
              consolidated)
        << "one generated account per consolidation";
    for (const char* method : {"Distrato", "ConsolidaDistrato"})
      EXPECT_EQ(count("SELECT COUNT(*) FROM AUDITORIA" + ofParty + " AND NMMETODO = '" + method + "'"),
                acks.of(method, party))
          << method << ": one audit row per acknowledged change, none for a refused one";
  }
  int writes = 0;
  for (int i = 1; i <= kParties; ++i)
    writes += acks.of("Distrato", PartyCode(i)) + acks.of("ConsolidaDistrato", PartyCode(i));
  const auto reruns = [](int port) {
    return dx_test::ScrapeMetric(port, "dxr10900_database_serialization_retries_total").value_or(-1);
  };
  const double rerun = reruns(firstMetrics) + reruns(secondMetrics);
  std::printf("writes acknowledged: %d, transactions run again: %.0f\n", writes, rerun);
  EXPECT_GE(rerun, 0);
  EXPECT_LE(rerun * 10, writes) << "writers of one budget queue; a rerun is the exception";
  // Launch numbers drawn at once by two servers never collide.
  EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT NRLANCTONF FROM CONTAPAGAR GROUP BY NRLANCTONF, NRPARCELAPAG,"
                  " NRSEQVENPAG HAVING COUNT(*) > 1) AS twice"),
            0);
}

}  // namespace
