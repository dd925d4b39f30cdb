// The typed wrappers against the real server: shapes of the answers, and a
// refusal raised with the server's own text.

#include "contracts/workspace_methods.h"
#include "data/client_dataset.h"
#include "data/exceptions.h"
#include "demo_server.h"
#include "net/net_connection.h"

namespace {

using testing_support::DemoServer;

class ContractsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    net.SetThrowException(false);
    net.SetHost("127.0.0.1");
    net.SetPort(DemoServer::Get().port());
    net.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  }
  TNetConnection net;
};

TEST_F(ContractsTest, BudgetValidationFindsTheDemoBudgetAndNotAnUnknownOne) {
  TClientDataSet found, missing;
  found.SetData(contracts::GetVdOrca(net, {.filial = "0001", .orcamento = "0000000101"}));
  missing.SetData(contracts::GetVdOrca(net, {.filial = "0001", .orcamento = "0000000999"}));
  EXPECT_FALSE(found.IsEmpty());
  EXPECT_EQ(found.FieldByName("NRORCAEVENTO").AsString(), "0000000101");
  EXPECT_TRUE(missing.IsEmpty());
}

TEST_F(ContractsTest, DadosCompGivesTheDetailAndTheTotalAsText) {
  const contracts::DadosCompResult r = contracts::DadosComp(net, {.filial = "0001", .orcamento = "0000000101", .sequencial = "seq"});
  TClientDataSet data;
  data.SetData(r.dados);
  EXPECT_EQ(data.FieldByName("NMFANTCLIE").AsString(), "Formatura Medicina UFRGS 2026");
  EXPECT_NE(r.total.find(','), std::string::npos) << r.total;
}

TEST_F(ContractsTest, GetContasSplitsReceivablesCountAndPayables) {
  TClientDataSet parties;
  parties.SetData(contracts::GetContratante(net, {.filial = "0001", .orcamento = "0000000101"}));
  ASSERT_TRUE(parties.Locate("NMFANTCLIE", Variant("Ana Paula Ferreira"), loCaseInsensitive));
  const contracts::ContasResult r = contracts::GetContas(
      net, {.empresa = "01",
            .orcamento = "0000000101",
            .NRSEQORCAEVE = parties.FieldByName("NRSEQORCAEVE").AsString(),
            .CDCLIENTE = parties.FieldByName("CDCLIENTE").AsString(),
            .NRENDCLIORCEVE = parties.FieldByName("NRENDCLIORCEVE").AsString(),
            .IDCONTPROCESDIST = parties.FieldByName("IDCONTPROCESDIST").AsString(),
            .IDORIGEMINCLUSAO = parties.FieldByName("IDORIGEMINCLUSAO").AsString(),
            .IDTRANSFCOTAREALI = parties.FieldByName("IDTRANSFCOTAREALI").AsString(),
            .IDTPDISTRATOREALI = parties.FieldByName("IDTPDISTRATOREALI").AsString()});
  TClientDataSet receivables;
  receivables.SetData(r.receber);
  EXPECT_FALSE(receivables.IsEmpty());
  EXPECT_GE(r.baixadas, 1);  // her first installment is paid
  EXPECT_TRUE(r.pagar.isPacket());
}

TEST_F(ContractsTest, ARefusalRaisesWithTheServersText) {
  try {
    contracts::GetContCorr(net, {.empresa = "01", .codigo = "001", .modo = "XX"});
    FAIL() << "a refused mode passed for a result";
  } catch (const ENetError&) {
    FAIL() << "a refusal is not a connection failure";
  } catch (const Exception& e) {
    EXPECT_FALSE(e.Message().empty());
  }
}

TEST_F(ContractsTest, AServerThatIsDownIsAConnectionFailure) {
  net.SetPort(testing_support::ClosedPort());
  EXPECT_THROW(contracts::GetPesqOrca(net, {.filial = "0001"}), ENetError);
}

}  // namespace
