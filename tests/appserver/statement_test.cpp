// The rescission statement on the server: every value of it is what the
// server recorded, for a started, a consolidated, a total and an undone
// rescission, on both backends; what it refuses; the parties whose
// rescission was undone; and the helpers that read the audit trail back.

#include <gtest/gtest.h>

#include "data/money.h"
#include "methods/statement_store.h"
#include "test_support.h"

namespace {

const char* kBranch = "0001";

class Statement_ : public DemoOnBackend {
 protected:
  struct Answer {
    DataPacket termo, canceladas, geradas, historico;
  };
  Answer Termo(const std::string& budget, const std::string& seq, const std::string& client,
               const std::string& address) {
    const Variant v = Call("GetTermoDistrato", {kBranch, budget, seq, client, address});
    return {v[0].asPacket(), v[1].asPacket(), v[2].asPacket(), v[3].asPacket()};
  }
  static std::string CentsOf(const Variant& amount) { return std::to_string(*ToCents(amount.asDouble())); }
  static std::string Key(const std::string& budget, const std::string& seq, const std::string& client,
                         const std::string& address) {
    return " WHERE NRORCAEVENTO = '" + budget + "' AND NRSEQORCAEVE = '" + seq + "' AND CDCLIENTE = '" + client +
           "' AND NRENDCLIORCEVE = '" + address + "'";
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, Statement_, AllBackends(), BackendName);

struct RecordedCase {
  const char* name;
  const char* budget;
  const char* seq;
  const char* client;
  const char* address;
  const char* state;  // IDESTADODISTRATO
  const char* type;   // IDTPDISTRATOREALI
};

// Parties of the demo whose rescission values are recorded in DISTRATOPARCIAL.
const RecordedCase kRecorded[] = {
    {"partial started, second sequence", "0000000107", "02", "1031", "1", "S", "PARCIAL"},
    {"partial consolidated", "0000000174", "01", "3307", "1", "C", "PARCIAL"},
    {"total started", "0000000105", "01", "1027", "1", "S", "TOTAL"},
    {"total consolidated, second address", "0000000172", "01", "3303", "2", "C", "TOTAL"},
};

TEST_P(Statement_, EveryValueIsTheOneTheServerRecorded) {
  for (const RecordedCase& c : kRecorded) {
    SCOPED_TRACE(c.name);
    const Answer a = Termo(c.budget, c.seq, c.client, c.address);
    ASSERT_EQ(a.termo.rowCount(), 1u);
    const DataPacket& t = a.termo;
    const std::string party = Key(c.budget, c.seq, c.client, c.address);
    EXPECT_EQ(t.at(0, "IDESTADODISTRATO").asText(), c.state);
    EXPECT_EQ(t.at(0, "IDTPDISTRATOREALI").asText(), c.type);
    EXPECT_EQ(t.at(0, "NRSEQORCAEVE").asText(), c.seq);
    EXPECT_EQ(t.at(0, "NRENDCLIORCEVE").asText(), c.address);
    EXPECT_EQ(t.at(0, "NMRAZSOCCLIE").asText(), One("SELECT NMRAZSOCCLIE FROM CLIENTE WHERE CDCLIENTE = '" +
                                                       std::string(c.client) + "'"));
    EXPECT_EQ(t.at(0, "NRINSJURCLIE").asText(), One("SELECT NRINSJURCLIE FROM CLIENTE WHERE CDCLIENTE = '" +
                                                       std::string(c.client) + "'"));
    EXPECT_EQ(CentsOf(t.at(0, "VRRECECONTOREV")), One("SELECT VRRECECONTOREV FROM CONTRATANTE" + party));
    for (const char* field : {"VRPAGO", "VRORIGRECNOEDIT", "VRORIGREC", "VRMULTA"})
      EXPECT_EQ(CentsOf(t.at(0, field)), One(std::string("SELECT ") + field + " FROM DISTRATOPARCIAL" + party)) << field;
    EXPECT_EQ(t.at(0, "GERACTPAGAR").asText(), One("SELECT GERACTPAGAR FROM DISTRATOPARCIAL" + party));
    EXPECT_EQ(t.at(0, "NRSEQORCAEVEFILHO").asText(), One("SELECT NRSEQORCAEVEFILHO FROM DISTRATOPARCIAL" + party));
    EXPECT_DOUBLE_EQ(t.at(0, "VRPERCMULTA").asDouble(),
                     std::stod(One("SELECT VRPERCMULTA FROM DISTRATOPARCIAL" + party)));
    EXPECT_EQ(t.at(0, "NMFILIAL").asText(), One("SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = '0001'"));

    EXPECT_EQ(std::to_string(a.canceladas.rowCount()),
              One("SELECT COUNT(*) FROM CONTARECEBER" + party + " AND IDSTATREC = 'C' AND IDORIGNFORCA NOT IN ('I', 'T')"));
    Cents generated = 0;
    for (std::size_t r = 0; r < a.geradas.rowCount(); ++r) generated += *ToCents(a.geradas.at(r, "VRPARCELA").asDouble());
    EXPECT_EQ(std::to_string(generated),
              One("SELECT (SELECT COALESCE(SUM(VRATUAREC), 0) FROM CONTARECEBER" + party +
                  " AND IDORIGNFORCA IN ('I', 'T')) + (SELECT COALESCE(SUM(VRATUAPAG), 0) FROM CONTAPAGAR" + party +
                  " AND IDORIGNFORCA IN ('I', 'T'))"));
    // Only a consolidated rescission generated accounts.
    EXPECT_EQ(a.geradas.rowCount() > 0, std::string(c.state) == "C");
  }
}

TEST_P(Statement_, TheHistoryTellsWhoRescindedAndWhoUndidWithTheApprover) {
  const char* budget = demo::kMainBudget;
  Call("Distrato", {kBranch, budget, "01", "1", "SUPERVISOR", "1001", Variant(2400.0), "", Variant(1600.0),
                    Variant(-1600.0)});
  Answer a = Termo(budget, "01", "1001", "1");
  EXPECT_EQ(a.termo.at(0, "IDESTADODISTRATO").asText(), "S");
  EXPECT_EQ(CentsOf(a.termo.at(0, "VRORIGREC")), "160000");
  ASSERT_EQ(a.historico.rowCount(), 1u);
  EXPECT_EQ(a.historico.at(0, "NMMETODO").asText(), "Distrato");
  EXPECT_EQ(a.historico.at(0, "CDOPERADOR").asText(), "SUPERVISOR");
  EXPECT_FALSE(a.historico.at(0, "NMOPERADOR").asText().empty());
  EXPECT_EQ(a.historico.at(0, "DSVALORES").asText(), "negociado 1.600,00; multa 2.400,00; CNTPAGAR");
  EXPECT_EQ(a.historico.at(0, "DTHRLOCAL").asText().size(), 16u) << "dd/mm/yyyy hh:mm";
  // What the rescission cancelled, as it marked them.
  EXPECT_EQ(std::to_string(a.canceladas.rowCount()),
            One("SELECT COUNT(*) FROM CONTARECEBER" + Key(budget, "01", "1001", "1") + " AND IDSTATRECDISTRATO IS NOT NULL"));
  EXPECT_GT(a.canceladas.rowCount(), 0u);

  LoggedInCaller caller("OPERADOR", "OPERADOR", "127.0.0.1:40002");
  std::vector<Variant> approval{"SUPERVISOR", "DISTRATO"};
  ASSERT_TRUE(app_->call(caller, "ConfirmaSenhaOperador", approval).asBool());
  std::vector<Variant> undo{"CONTRATANTE", kBranch, budget, "01", "01", "1001", "", "OPERADOR",
                            Variant(DateTime{46364}), "1"};
  app_->call(caller, "DesfazerDistrato", undo);

  a = Termo(budget, "01", "1001", "1");
  EXPECT_EQ(a.termo.at(0, "IDESTADODISTRATO").asText(), "D");
  EXPECT_EQ(a.termo.at(0, "IDTPDISTRATOREALI").asText(), "PARCIAL");
  EXPECT_EQ(CentsOf(a.termo.at(0, "VRORIGREC")), "160000");
  EXPECT_EQ(CentsOf(a.termo.at(0, "VRMULTA")), "240000");
  EXPECT_EQ(a.termo.at(0, "GERACTPAGAR").asText(), "CNTPAGAR");
  EXPECT_TRUE(a.termo.at(0, "VRPAGO").isNull()) << "the undo deleted what was paid at the time";
  EXPECT_EQ(a.canceladas.rowCount(), 0u) << "the undo gave the receivables back";
  ASSERT_EQ(a.historico.rowCount(), 2u);
  EXPECT_EQ(a.historico.at(1, "NMMETODO").asText(), "DesfazerDistrato");
  EXPECT_EQ(a.historico.at(1, "CDOPERADOR").asText(), "OPERADOR");
  EXPECT_EQ(a.historico.at(1, "CDOPERAPROV").asText(), "SUPERVISOR");

  const DataPacket undone = Call("GetDistratosDesfeitos", {kBranch, budget}).asPacket();
  EXPECT_EQ(Column(undone, "CDCLIENTE"), std::vector<std::string>{"1001"});
}

TEST_P(Statement_, ATotalRescissionsStatementCarriesTheBudgetsRows) {
  const char* budget = demo::kTotalBudget;
  const Variant none = Variant(DataPacket());
  const Variant parties = Call("ConfValTodosCont", {kBranch, budget, "SUPERVISOR", "01", none, Variant(0.0), "N"});
  Call("DistratoTotal", {kBranch, budget, "SUPERVISOR", "01", none, parties});
  const Answer a = Termo(budget, "01", "1026", "2");
  EXPECT_EQ(a.termo.at(0, "IDTPDISTRATOREALI").asText(), "TOTAL");
  ASSERT_EQ(a.historico.rowCount(), 1u);
  EXPECT_EQ(a.historico.at(0, "NMMETODO").asText(), "DistratoTotal");
  EXPECT_EQ(a.historico.at(0, "IDORCAMENTO").asText(), "S");
}

TEST_P(Statement_, APartyWithoutRescissionAndAChildBudgetsRowAreRefused) {
  const struct {
    const char* seq;
    const char* client;
    const char* refusal;
  } cases[] = {
      {"01", "1001", "O contratante Ana Paula Ferreira não tem distrato: não há termo de distrato a emitir."},
      {"02", "1004", "Contratante 1004 não encontrado no orçamento 0000000101."},
      {"01", "9999", "Contratante 9999 não encontrado no orçamento 0000000101."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Refusal([&] { Termo(demo::kMainBudget, c.seq, c.client, "1"); }), c.refusal) << c.client;
  EXPECT_EQ(Call("GetDistratosDesfeitos", {kBranch, demo::kMainBudget}).asPacket().rowCount(), 0u);
}

TEST(StatementStore, ReadsTheAuditTrailsAmountsAndStampsBack) {
  const struct {
    const char* text;
    const char* label;
    std::optional<Cents> cents;
  } amounts[] = {
      {"parcial; negociado 3.000,00; multa 1.234.567,89; contas", "negociado ", 300000},
      {"parcial; negociado 3.000,00; multa 1.234.567,89; contas", "multa ", 123456789},
      {"negociado -0,05", "negociado ", -5},
      {"negociado 1,00", "multa ", std::nullopt},
      {"multa ; x", "multa ", std::nullopt},
  };
  for (const auto& c : amounts) EXPECT_EQ(statement_store::AmountAfter(c.text, c.label), c.cents) << c.text;
  setenv("TZ", "America/Sao_Paulo", 1);
  tzset();
  EXPECT_EQ(statement_store::LocalStampText("2026-12-08 14:05:00"), "08/12/2026 11:05");
  EXPECT_EQ(statement_store::LocalStampText("2026-12-08 01:30:59"), "07/12/2026 22:30");
  EXPECT_EQ(statement_store::LocalStampText("ontem"), "ontem");
  unsetenv("TZ");
  tzset();
}

}  // namespace
