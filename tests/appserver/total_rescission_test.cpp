// The total rescission and its consolidation in process, on each backend:
// every party priced, reviewed and recorded at once, then each party's
// account generated in its payment form, and a second consolidation refused.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app_server.h"
#include "data/formats.h"
#include "data/packet.h"
#include "demo/demo_database.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "test_support.h"

namespace {

const char* kBranch = "0001";
const char* kFree = "0000000104";       // four parties free for a total rescission
const char* kInProcess = "0000000105";  // a total rescission to consolidate

class TotalRescission : public DemoOnBackend {
 protected:
  std::string Refusal(const std::string& method, std::vector<Variant> args) {
    try {
      Call(method, std::move(args));
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no refusal)";
  }
  static Variant Empty() { return Variant(DataPacket({{"CDCLIENTE", FieldType::String, 21}})); }
  // The contractor values dialog's review of every party, stored as it sends it on.
  Variant Reviewed(const char* budget, const char* mode) {
    Variant priced = Call("ConfValTodosCont", {kBranch, budget, "SUPERVISOR", "01", Empty(), Variant(0.0), mode});
    std::vector<Variant> args{priced, kBranch, budget};
    app_->call("InsContratDistrato", args);
    return args[0];
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, TotalRescission, AllBackends(), BackendName);

TEST_P(TotalRescission, RecordsEveryPartyOfTheBudgetAtOnce) {
  const Variant parties = Reviewed(kFree, "N");
  ASSERT_EQ(parties.asPacket().rowCount(), 5u);  // Sofia's two contracts are two parties
  EXPECT_EQ(Call("DistratoTotal", {kBranch, kFree, "SUPERVISOR", "01", Empty(), parties}).asText(), "");
  const std::string budget = std::string(" WHERE NRORCAEVENTO = '") + kFree + "'";
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTRATANTE" + budget +
                " AND NRSEQORCAEVE = '01' AND IDCONTPROCESDIST = 'S' AND IDTPDISTRATOREALI = 'TOTAL'"),
            "5");
  EXPECT_EQ(One("SELECT COUNT(*) FROM DISTRATOPARCIAL" + budget), "5");
  EXPECT_EQ(One("SELECT COUNT(*) FROM AUDITORIA" + budget + " AND NMMETODO = 'DistratoTotal'"), "1");
  // Recorded once: a second one is refused by the rules, not by the database.
  const std::string again = Refusal("DistratoTotal", {kBranch, kFree, "SUPERVISOR", "01", Empty(), parties});
  EXPECT_NE(again, "(no refusal)");
  EXPECT_EQ(again.find("Erro no banco"), std::string::npos) << again;
  EXPECT_EQ(One("SELECT COUNT(*) FROM DISTRATOPARCIAL" + budget), "5");
}

TEST_P(TotalRescission, PricesThePartiesBySequenceTradeNameClientAndAddress) {
  // Renamed so that the trade names no longer follow the codes.
  db_->exec("UPDATE CLIENTE SET NMFANTCLIE = 'Abel Zanella' WHERE CDCLIENTE = '1025'");
  db_->exec("UPDATE CLIENTE SET NMFANTCLIE = 'Zelia Abreu' WHERE CDCLIENTE = '1023'");
  const DataPacket p =
      Call("ConfValTodosCont", {kBranch, kFree, "SUPERVISOR", "01", Empty(), Variant(0.0), "N"}).asPacket();
  std::string order;
  for (std::size_t r = 0; r < p.rowCount(); ++r)
    order += p.at(r, "CDCLIENTE").asText() + "/" + p.at(r, "NRENDCLIORCEVE").asText() + " ";
  EXPECT_EQ(order, "1025/1 1024/1 1026/1 1026/2 1023/1 ");
}

TEST_P(TotalRescission, TheConsolidationGeneratesEachPartysAccountOnce) {
  // Thiago is refunded in two variable installments, Valentina pays hers on
  // a fixed day of the next two months.
  DataPacket p = Reviewed(kInProcess, "S").asPacket();
  auto set = [&](const char* client, const char* field, Variant v) {
    for (std::size_t r = 0; r < p.rowCount(); ++r)
      if (p.at(r, "CDCLIENTE").asText() == client) p.rows[r][static_cast<std::size_t>(p.fieldIndex(field))] = v;
  };
  set("1027", "IDTPFORMAPGTO", Variant("V"));
  set("1028", "IDTPFORMAPGTO", Variant("F"));
  set("1028", "NRDIAPGTOFIXO", Variant(10.0));
  set("1028", "NRPARCELAS", Variant(2.0));
  set("1028", "IDMESINIPGTO", Variant("P"));
  DataPacket plan({{"DTVENCIMENTO", FieldType::DateTime, 0}, {"CDFILIAL", FieldType::String, 4},
                   {"NRORCAEVENTO", FieldType::String, 10}, {"CDCLIENTE", FieldType::String, 21},
                   {"VRPARCELA", FieldType::Float, 0}});
  plan.addRow({Variant(EncodeDate(2031, 1, 10)), Variant(kBranch), Variant(kInProcess), Variant("1027"), Variant(1000.0)});
  plan.addRow({Variant(EncodeDate(2031, 2, 10)), Variant(kBranch), Variant(kInProcess), Variant("1027"), Variant(2000.0)});
  const Variant confirmed = Call("SetConfirmar", {Variant(p), Variant(plan), kBranch, kInProcess});

  EXPECT_EQ(Call("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", confirmed}).asText(), "");
  EXPECT_EQ(One("SELECT COUNT(*) || '/' || SUM(VRORIGPAG) FROM CONTAPAGAR WHERE CDCLIENTE = '1027' AND IDORIGNFORCA = 'T'"),
            "2/300000");
  EXPECT_EQ(One("SELECT COUNT(*) || '/' || SUM(VRORIGREC) FROM CONTARECEBER WHERE CDCLIENTE = '1028'"
                " AND IDORIGNFORCA = 'T' AND IDSTATREC = 'A'"),
            "2/20000");
  // The parties and their rows in the child budget alike.
  EXPECT_EQ(One(std::string("SELECT COUNT(*) FROM CONTRATANTE WHERE NRORCAEVENTO = '") + kInProcess +
                "' AND IDCONTPROCESDIST <> 'C'"),
            "0");
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", confirmed}),
            "Não há contratantes em processo de distrato total no orçamento 0000000105: o distrato total já foi"
            " consolidado.");
}

}  // namespace
