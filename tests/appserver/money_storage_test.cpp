// Amounts are integer cents in storage: a database written by the version
// that kept REAL amounts migrates and answers the same amounts to the cent,
// and a value that is not money stops the migration with the file unchanged.

#include <gtest/gtest.h>

#include "storage/database.h"
#include "storage/migrations.h"
#include "storage/statement.h"
#include "test_support.h"
#include "version3_database.h"

namespace {

class MoneyStorage : public ::testing::Test {
 protected:
  Variant Call(const std::string& method, std::vector<Variant> args) { return app_->call(method, args); }
  std::size_t Row(const DataPacket& p, const std::string& client) {
    for (std::size_t i = 0; i < p.rowCount(); ++i)
      if (p.at(i, "CDCLIENTE").asText() == client) return i;
    throw std::runtime_error("no row for " + client);
  }
  ScratchDir dir_;
  std::unique_ptr<AppServer> app_;
};

TEST_F(MoneyStorage, AVersion3DatabaseMigratesAndAnswersTheSameAmountsToTheCent) {
  const std::string path = dir_.file("v3.db");
  WriteVersion3(path);
  app_ = std::make_unique<AppServer>(path);

  DataPacket parties = Call("GetContratante", {"0001", "0000000101"}).asPacket();
  EXPECT_EQ(parties.at(Row(parties, "1001"), "VRRECECONTOREV").asDouble(), 1234567.01);
  EXPECT_EQ(parties.at(Row(parties, "1002"), "VRRECECONTOREV").asDouble(), 0.30);

  Variant accounts = Call("GetContas", {"01", "0000000101", "01", "1002", "1", "N", "ORCAMENTO", "N", ""});
  const DataPacket& receivables = accounts[0].asPacket();
  ASSERT_EQ(receivables.rowCount(), 3u);
  std::vector<double> values;
  for (std::size_t i = 0; i < receivables.rowCount(); ++i) values.push_back(receivables.at(i, "VRATUAREC").asDouble());
  std::sort(values.begin(), values.end());
  // A REAL that prints as 1234567,005 is 1234567,01 by the rule (the old
  // floor(x*100+0.5) made it 1234567,00).
  EXPECT_EQ(values, (std::vector<double>{33.33, 33.33, 1234567.01}));

  // The grand total (the cancelled party left out) is a sum of cents.
  EXPECT_EQ(Call("DadosComp", {"0001", "0000000101", "seq"})[1].asText(), "0,30");

  Variant recorded = Call("ConfirmaValores", {"0001", "0000000101", "01", "1", "01", Variant(0.0), "1001", "", "S"});
  const DataPacket& row = recorded[0].asPacket();
  EXPECT_EQ(row.at(0, "VRORIGREC").asDouble(), 1500.00);
  EXPECT_EQ(row.at(0, "VRMULTA").asDouble(), 2400.00);
  EXPECT_EQ(row.at(0, "VRORIGRECNOEDIT").asDouble(), 1600.00);
  EXPECT_EQ(recorded[1].asDouble(), 4000.00);

  DataPacket review = Call("GetContratDistrato", {"0001", "0000000101"}).asPacket();
  EXPECT_EQ(review.at(0, "VRORIGREC").asDouble(), 99.99);
  EXPECT_EQ(review.at(0, "VRMULTA").asDouble(), 0.30);
  DataPacket plan = Call("GetFormaPgto", {"0001", "0000000101", "1002"}).asPacket();
  ASSERT_EQ(plan.rowCount(), 2u);
  EXPECT_EQ(plan.at(0, "VRPARCELA").asDouble(), 33.33);
  EXPECT_EQ(plan.at(1, "VRPARCELA").asDouble(), 66.66);

  // Stored as integers now.
  Database db(path);
  EXPECT_EQ(db.userVersion(), Migrations().back().version);
  Statement st = db.prepare("SELECT typeof(VRRECECONTOREV), VRRECECONTOREV FROM CONTRATANTE WHERE CDCLIENTE = '1001'");
  ASSERT_TRUE(st.step());
  EXPECT_EQ(st.text(0), "integer");
  EXPECT_EQ(st.integer(1), 123456701);
}

TEST_F(MoneyStorage, AValueThatIsNotMoneyStopsTheMigrationAndLeavesTheFileAsItWas) {
  const std::string path = dir_.file("bad.db");
  WriteVersion3(path, "1e300");
  EXPECT_THROW(AppServer{path}, std::exception);
  Database db(path);
  EXPECT_EQ(db.userVersion(), 3);
  Statement st = db.prepare("SELECT typeof(VRRECECONTOREV) FROM CONTRATANTE WHERE CDCLIENTE = '1001'");
  ASSERT_TRUE(st.step());
  EXPECT_EQ(st.text(0), "real");
}

}  // namespace
