// A client with several contracts in one budget, on each backend: every
// operation keys a party by its contract (sequence, client, address), so a
// total rescission takes each contract, its undo gives each back, the
// consolidation reads the contract in the rescission, a party may leave the
// variable payment form, a refusal says what differs, undone rescissions free
// their child budget's number and the audit trail names the contract.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/packet.h"
#include "test_support.h"

namespace {

const char* kBranch = "0001";
const char* kSubstitution = "0000000150";  // Camila holds contracts at addresses 1 and 2
const char* kFree = "0000000104";          // Sofia holds two contracts, free
const char* kInProcess = "0000000105";     // Valentina holds two contracts in a total rescission
const char* kSecondSequence = "0000000107";  // Yara: live in 01, rescinded in 02

class ContractsOfOneClient : public DemoOnBackend {
 protected:
  static Variant Empty() { return Variant(DataPacket({{"CDCLIENTE", FieldType::String, 21}})); }
  Variant Priced(const char* budget, const char* mode) {
    return Call("ConfValTodosCont", {kBranch, budget, "SUPERVISOR", "01", Empty(), Variant(0.0), mode});
  }
  // The review the contractor values dialog starts, as it answers it.
  Variant Reviewed(const char* budget, const char* mode) {
    std::vector<Variant> args{Priced(budget, mode), kBranch, budget};
    return app_->call("InsContratDistrato", args);
  }
  std::string States(const char* budget, const char* client) {
    return Rows({std::string("SELECT NRENDCLIORCEVE, IDCONTPROCESDIST, COALESCE(IDTPDISTRATOREALI, '') FROM CONTRATANTE"
                             " WHERE NRORCAEVENTO = '") +
                 budget + "' AND CDCLIENTE = '" + client + "' AND NRSEQORCAEVE = '01' ORDER BY 1"});
  }
  static void Set(DataPacket& p, std::size_t row, const char* field, Variant v) {
    p.rows[row][static_cast<std::size_t>(p.fieldIndex(field))] = std::move(v);
  }
  static std::size_t RowOf(const DataPacket& p, const std::string& client, const std::string& address) {
    for (std::size_t r = 0; r < p.rowCount(); ++r)
      if (p.at(r, "CDCLIENTE").asText() == client && p.at(r, "NRENDCLIORCEVE").asText() == address) return r;
    ADD_FAILURE() << "no row for " << client << " at " << address;
    return 0;
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, ContractsOfOneClient, AllBackends(), BackendName);

// --- 1: the total rescission takes every contract -----------------------------

TEST_P(ContractsOfOneClient, TheReviewAndTheTotalRescissionTakeEachContractOfAClient) {
  const DataPacket reviewed = Reviewed(kFree, "N").asPacket();
  ASSERT_EQ(reviewed.rowCount(), 5u);
  // Sofia's contracts differ: nothing paid on the first, half on the second.
  EXPECT_EQ(reviewed.at(RowOf(reviewed, "1026", "1"), "VRORIGRECNOEDIT").asDouble(), 0.0);
  EXPECT_EQ(reviewed.at(RowOf(reviewed, "1026", "2"), "VRORIGRECNOEDIT").asDouble(), 1500.0);
  EXPECT_EQ(Call("DistratoTotal", {kBranch, kFree, "SUPERVISOR", "01", Empty(), Variant(reviewed)}).asText(), "");
  EXPECT_EQ(States(kFree, "1026"), "1;S;TOTAL;\n2;S;TOTAL;\n");
}

TEST_P(ContractsOfOneClient, TheTotalRescissionTakesThePricingPacketOfAClientWithTwoContracts) {
  const Variant priced = Priced(kSubstitution, "N");
  EXPECT_EQ(Call("DistratoTotal", {kBranch, kSubstitution, "SUPERVISOR", "01", Empty(), priced}).asText(), "");
  EXPECT_EQ(States(kSubstitution, "3203"), "1;S;TOTAL;\n2;S;TOTAL;\n");
  // Named by its client alone, a client of two contracts is ambiguous: refused
  // with what to send, never taken as one of them.
  DataPacket clientOnly({{"CDCLIENTE", FieldType::String, 21}, {"VRORIGREC", FieldType::Float, 0},
                         {"VRORIGRECNOEDIT", FieldType::Float, 0}, {"GERACTPAGAR", FieldType::String, 20}});
  clientOnly.addRow({Variant("1026"), Variant(0.0), Variant(0.0), Variant("CNTPAGAR")});
  const std::string refusal =
      Refusal([&] { Call("DistratoTotal", {kBranch, kFree, "SUPERVISOR", "01", Empty(), Variant(clientOnly)}); });
  EXPECT_NE(refusal.find("mais de um contrato"), std::string::npos) << refusal;
}

// --- 2: a total rescission with a recorded substitute can be undone -------------

TEST_P(ContractsOfOneClient, ATotalRescissionAfterAQuotaTransferCanBeUndone) {
  ASSERT_EQ(Call("TransfCotas", {kBranch, kSubstitution, "3202", "3001", "SUPERVISOR", "S", Variant(15000.0),
                                 Variant(30.0), Variant(18.0), "01", "1", "002", "01"})
                .asText(),
            "");
  const Variant priced = Priced(kSubstitution, "N");
  ASSERT_EQ(Call("DistratoTotal", {kBranch, kSubstitution, "SUPERVISOR", "01", Empty(), priced}).asText(), "");
  LoggedInCaller caller("OPERADOR", "OPERADOR", "127.0.0.1:40002");
  std::vector<Variant> confirm{"SUPERVISOR", "DISTRATO"};
  ASSERT_TRUE(app_->call(caller, "ConfirmaSenhaOperador", confirm).asBool());
  std::vector<Variant> list{kBranch, kSubstitution};
  std::vector<Variant> undo{"GERAL", kBranch, kSubstitution, "seq", "01", "", app_->call(caller, "GetContratante", list),
                            "OPERADOR", Variant(DateTime{46364}), ""};
  EXPECT_EQ(app_->call(caller, "DesfazerDistrato", undo).asText(), "");
  EXPECT_EQ(States(kSubstitution, "3202"), "1;N;;\n");
  EXPECT_EQ(One("SELECT CDCLICONTSUBORE FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000150' AND CDCLIENTE = '3202'"),
            "3001");
}

// --- 3: "seq" in mode "S" reads the contract in the rescission ------------------

TEST_P(ContractsOfOneClient, TheConsolidationReadsTheContractInTheRescission) {
  const Variant values = Call("ConfirmaValores", {kBranch, kSecondSequence, "seq", "1", "01", Variant(0.0), "1031",
                                                  "", "S"});
  const Variant paid = values.asArray().at(1);
  EXPECT_EQ(paid.asDouble(), 2000.0);
  EXPECT_EQ(values.asArray().at(0).asPacket().at(0, "VRORIGREC").asDouble(), 800.0);
  DataPacket form({{"IDTPFORMAPGTO", FieldType::String, 1}});
  form.addRow({Variant("E")});
  EXPECT_EQ(Call("ConsolidaDistrato", {kBranch, kSecondSequence, "02", "1", Variant(form), Variant(800.0),
                                       "SUPERVISOR", "1", "1031", paid, "CNTPAGAR", ""})
                .asText(),
            "");
  EXPECT_EQ(One("SELECT IDCONTPROCESDIST FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000107' AND NRSEQORCAEVE = '02'"),
            "C");
}

// --- 4: leaving the variable form ----------------------------------------------

TEST_P(ContractsOfOneClient, APartyLeavesTheVariableFormWithThePlanItLoaded) {
  DataPacket parties = Reviewed(kInProcess, "S").asPacket();
  ASSERT_EQ(parties.rowCount(), 3u);
  const std::size_t valentina = RowOf(parties, "1028", "1");
  Set(parties, valentina, "IDTPFORMAPGTO", Variant("V"));
  DataPacket plan = Call("GetFormaPgto", {kBranch, kInProcess, "1028", "01", "1"}).asPacket();
  plan.addRow({Variant(DateTime{46400}), Variant(kBranch), Variant(kInProcess), Variant("1028"), Variant(100.0),
               Variant("01"), Variant("1")});
  plan.addRow({Variant(DateTime{46430}), Variant(kBranch), Variant(kInProcess), Variant("1028"), Variant(100.0),
               Variant("01"), Variant("1")});
  parties = Call("SetConfirmar", {Variant(parties), Variant(plan), kBranch, kInProcess}).asPacket();
  const Variant loaded = Call("GetFormaPgto", {kBranch, kInProcess, "1028", "01", "1"});
  ASSERT_EQ(loaded.asPacket().rowCount(), 2u);

  // The dialog sends the plan it loaded with the new form: taken, and dropped.
  Set(parties, RowOf(parties, "1028", "1"), "IDTPFORMAPGTO", Variant("F"));
  Call("SetConfirmar", {Variant(parties), loaded, kBranch, kInProcess});
  EXPECT_EQ(Call("GetFormaPgto", {kBranch, kInProcess, "1028", "01", "1"}).asPacket().rowCount(), 0u);
  EXPECT_EQ(One("SELECT IDTPFORMAPGTO FROM CONTRATDISTRATO WHERE CDCLIENTE = '1028' AND NRENDCLIORCEVE = '1'"), "F");
}

TEST_P(ContractsOfOneClient, APlanIsNamedByItsContractAndACallerOfOneContractNeedsOnlyTheClient) {
  Reviewed(kInProcess, "S");
  // Thiago has one contract: the client alone still names it.
  EXPECT_EQ(Call("GetFormaPgto", {kBranch, kInProcess, "1027"}).asPacket().rowCount(), 0u);
  const std::string refusal = Refusal([&] { Call("GetFormaPgto", {kBranch, kInProcess, "1028"}); });
  EXPECT_NE(refusal.find("mais de um contrato"), std::string::npos) << refusal;
  EXPECT_NO_THROW(Call("GetFormaPgto", {kBranch, kInProcess, "1028", "01", "2"}));
}

// --- 5: the quota transfer sums what the screen sums ---------------------------

TEST_P(ContractsOfOneClient, TheQuotaTransferSumsTheCompanysOpenReceivablesAndSaysWhatDiffers) {
  // An open receivable of another company is not in the screen's list.
  db_->exec(
      "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
      " NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC, VRATUAREC,"
      " IDSTATREC, IDORIGNFORCA) VALUES ('0001', '0000009202', '01', '01', '02', '0000000150', '01', '3202', '1',"
      " 'NF', 46400, 46400, 50000, 50000, 'A', 'F')");
  auto transfer = [&](double value) {
    return Call("TransfCotas", {kBranch, kSubstitution, "3202", "3001", "SUPERVISOR", "S", Variant(value),
                                Variant(30.0), Variant(18.0), "01", "1", "002", "01"});
  };
  const std::string refusal = Refusal([&] { transfer(14999.99); });
  EXPECT_EQ(refusal.find("outro operador"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("(14999,99) difere do valor em aberto do contratante 3202 nas contas da empresa 01 (15000,00)"),
            std::string::npos)
      << refusal;
  EXPECT_EQ(transfer(15000.0).asText(), "");
  EXPECT_EQ(One("SELECT IDSTATREC FROM CONTARECEBER WHERE NRLANCTONF = '0000009202'"), "A");
}

// --- 6: undone rescissions free their child budget's number ---------------------

TEST_P(ContractsOfOneClient, AChildBudgetTakesTheLowestFreeSequence) {
  // Sequences 03 to 99 taken, 02 free (an undone rescission removed it).
  for (int seq = 3; seq <= 99; ++seq)
    db_->exec(std::string("INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRSEQORCAEVEPAI,"
                          " IDSITUORCEVE, IDUTILCUSTOFIXOORCA, IDORCAAPROVADO, CDCLIENTE, CDVENDEDOR, CDEMPRESA,"
                          " DTORCAMENTO, DTEVENTO, QTCONVIDADOS, QTCOTAS) SELECT CDFILIAL, NRORCAEVENTO, '") +
              (seq < 10 ? "0" : "") + std::to_string(seq) +
              "', '01', '3', IDUTILCUSTOFIXOORCA, IDORCAAPROVADO, CDCLIENTE, CDVENDEDOR, CDEMPRESA, DTORCAMENTO,"
              " DTEVENTO, 0, 0 FROM ORCAEVENTO WHERE NRORCAEVENTO = '0000000104' AND NRSEQORCAEVE = '01'");
  const Variant reviewed = Reviewed(kFree, "N");
  EXPECT_EQ(Call("DistratoTotal", {kBranch, kFree, "SUPERVISOR", "01", Empty(), reviewed}).asText(), "");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000104' AND NRSEQORCAEVE = '02'"), "5");
}

// --- 7: the audit trail names the contract -------------------------------------

TEST_P(ContractsOfOneClient, TheAuditTrailNamesTheContractAndRecordsOnlyChanges) {
  DataPacket parties = Reviewed(kInProcess, "S").asPacket();
  Set(parties, RowOf(parties, "1028", "2"), "IDTPFORMAPGTO", Variant("E"));
  Call("SetConfirmar", {Variant(parties), Variant(DataPacket({{"CDCLIENTE", FieldType::String, 21}})), kBranch,
                        kInProcess});
  EXPECT_EQ(Rows({"SELECT CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE FROM AUDITORIA WHERE NMMETODO = 'SetConfirmar'"
                  " ORDER BY 1, 3"}),
            "1027;01;1;\n1028;01;1;\n1028;01;2;\n");
  Call("DeletaFormaPgto", {kBranch, kInProcess, "1028", "01", "2"});
  EXPECT_EQ(One("SELECT COUNT(*) FROM AUDITORIA WHERE NMMETODO = 'DeletaFormaPgto'"), "0");
}

}  // namespace
