// The total rescission and the consolidations on a real dxr10900-server:
// the pricing of every party, the recording and the accounts generated, all
// or nothing, and the refusal of what another operator changed meanwhile.

#include <gtest/gtest.h>

#include "data/formats.h"
#include "data/packet.h"
#include "fresh_server.h"
#include "lib/consiste.h"

namespace {

using testing_support::FreshServer;

const char* kBranch = "0001";
const char* kTotal = "0000000104";      // four parties free for a total rescission
const char* kInProcess = "0000000105";  // a total rescission to consolidate
const char* kUnapproved = "0000000106";
const char* kMain = "0000000101";

class ServerRules : public ::testing::Test {
 protected:
  void Start(const std::string& sql = "") {
    server = std::make_unique<FreshServer>(sql);
    net.SetHost("127.0.0.1");
    net.SetPort(server->port());
    net.SetLogin(dx_test::kDemoOperator, dx_test::kDemoPassword);
  }
  Variant Call(const std::string& method, std::vector<Variant> args) {
    return CheckResultServ(net.Call(method, args), true, 0);
  }
  std::string Refusal(const std::string& method, std::vector<Variant> args) {
    try {
      Call(method, std::move(args));
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no refusal)";
  }
  std::string One(const std::string& sql) { return server->One(sql); }

  static Variant Empty() { return Variant(DataPacket({{"CDCLIENTE", FieldType::String, 21}})); }
  DataPacket Priced(const char* budget, const char* mode = "N") {
    return Call("ConfValTodosCont", {kBranch, budget, "SUPERVISOR", "01", Empty(), Variant(0.0), mode}).asPacket();
  }
  static std::size_t RowOf(const DataPacket& p, const std::string& client) {
    for (std::size_t r = 0; r < p.rowCount(); ++r)
      if (p.at(r, "CDCLIENTE").asText() == client) return r;
    ADD_FAILURE() << "no row for " << client;
    return 0;
  }
  // What the review of the dialog stores, as it sends it on.
  Variant Reviewed(const char* budget, const char* mode = "N") {
    Variant payload(Priced(budget, mode));
    std::vector<Variant> args{payload, kBranch, budget};
    CheckResultServ(net.Call("InsContratDistrato", args), true, 0);
    return args[0];
  }
  std::string DistratoTotal(const Variant& parties) {
    return Call("DistratoTotal", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), parties}).asText();
  }
  std::string Snapshot(const char* budget) {
    return One(std::string("SELECT group_concat(x, ';') FROM (SELECT CDCLIENTE || NRSEQORCAEVE || IDCONTPROCESDIST ||"
                           " IDSITUCONTOREV AS x FROM CONTRATANTE WHERE NRORCAEVENTO = '") + budget +
               "' UNION ALL SELECT NRLANCTONF || NRSEQVENREC || IDSTATREC || IDBAIXAREALIZADA FROM CONTARECEBER"
               " WHERE NRORCAEVENTO = '" + budget + "' UNION ALL SELECT NRSEQORCAEVE FROM ORCAEVENTO"
               " WHERE NRORCAEVENTO = '" + budget + "' UNION ALL SELECT COUNT(*) FROM CONTAPAGAR"
               " UNION ALL SELECT COUNT(*) FROM DISTRATOPARCIAL ORDER BY 1)");
  }

  std::unique_ptr<FreshServer> server;
  TNetConnection net;
};

// --- ConfValTodosCont -----------------------------------------------------

TEST_F(ServerRules, EveryFreePartyIsPricedAsThePartialRescissionPricesIt) {
  Start();
  const DataPacket p = Priced(kTotal);
  ASSERT_EQ(p.rowCount(), 5u);  // Sofia's two contracts are two parties
  struct Expected {
    const char* client;
    double percent, fine, calculated;
    const char* account;
  };
  // 50 % paid: 25 % of 10,000; 20 %: 15 %; 10 %: 15 % of 8,000 beyond the
  // 800 paid; nothing paid: no fine.
  for (const Expected& e : {Expected{"1023", 25, 2500, 2500, "CNTPAGAR"}, Expected{"1024", 15, 1500, 500, "CNTPAGAR"},
                            Expected{"1025", 15, 1200, 400, "CNTRECEBER"}, Expected{"1026", 0, 0, 0, "CNTPAGAR"}}) {
    const std::size_t r = RowOf(p, e.client);
    EXPECT_DOUBLE_EQ(p.at(r, "VRPERCMULTA").asDouble(), e.percent) << e.client;
    EXPECT_DOUBLE_EQ(p.at(r, "VRMULTA").asDouble(), e.fine) << e.client;
    EXPECT_DOUBLE_EQ(p.at(r, "VRORIGRECNOEDIT").asDouble(), e.calculated) << e.client;
    EXPECT_DOUBLE_EQ(p.at(r, "VRORIGREC").asDouble(), e.calculated) << e.client;
    EXPECT_EQ(p.at(r, "GERACTPAGAR").asText(), e.account) << e.client;
    EXPECT_EQ(p.at(r, "IDTPFORMAPGTO").asText(), "E");
  }
  // The partial rescission's pricing of the same party agrees.
  const Variant partial =
      Call("ConfirmaValores", {kBranch, kTotal, "01", "1", "01", Variant(0.0), "1025", "", "N"});
  const DataPacket& values = partial[0].asPacket();
  EXPECT_DOUBLE_EQ(values.at(0, "VRMULTA").asDouble(), 1200);
  EXPECT_DOUBLE_EQ(values.at(0, "VRORIGRECNOEDIT").asDouble(), 400);
}

TEST_F(ServerRules, PartiesThatCannotBeRescindedAreMarkedNotLeftOut) {
  Start("DELETE FROM PERCMULTADISTRATO WHERE CDFILIAL = '0001' AND VRPERCPAGOINI = 50");
  DataPacket p = Priced(kTotal);
  EXPECT_EQ(p.at(RowOf(p, "1023"), "ERRO").asText(),
            "Não há percentual de multa parametrizado para o percentual pago de 50,00%.");
  EXPECT_EQ(p.at(RowOf(p, "1024"), "ERRO").asText(), "");
  // The main budget: Juliana's renegotiated receivable is open; the parties
  // already rescinded, returned or consolidated are not listed.
  p = Priced(kMain);
  EXPECT_NE(p.at(RowOf(p, "1010"), "ERRORENEGFIN").asText().find("Renegociação"), std::string::npos);
  for (std::size_t r = 0; r < p.rowCount(); ++r)
    for (const char* gone : {"1003", "1004", "1005", "1012", "1013"}) EXPECT_NE(p.at(r, "CDCLIENTE").asText(), gone);
}

TEST_F(ServerRules, ABudgetWithNobodyLeftToPriceIsRefusedInWords) {
  Start();
  EXPECT_EQ(Refusal("ConfValTodosCont", {kBranch, kInProcess, "SUPERVISOR", "01", Empty(), Variant(0.0), "N"}),
            "Não há contratantes a distratar no orçamento 0000000105.");
  EXPECT_EQ(Refusal("ConfValTodosCont", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), Variant(0.0), "S"}),
            "Não há contratantes em processo de distrato total no orçamento 0000000104.");
}

// --- DistratoTotal ---------------------------------------------------------

TEST_F(ServerRules, TheTotalRescissionRecordsEveryPartyAndOneChildBudget) {
  Start();
  Variant parties = Reviewed(kTotal);
  EXPECT_EQ(DistratoTotal(parties), "");

  EXPECT_EQ(One("SELECT group_concat(CDCLIENTE || IDCONTPROCESDIST || IDSITUCONTOREV || IDTPDISTRATOREALI, ',')"
                " FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000104' AND NRSEQORCAEVE = '01'"),
            "1023SCANCELADOTOTAL,1024SCANCELADOTOTAL,1025SCANCELADOTOTAL,1026SCANCELADOTOTAL,1026SCANCELADOTOTAL");
  EXPECT_EQ(One("SELECT NRSEQORCAEVEPAI || IDSITUORCEVE || CDCLIENTE || QTCONVIDADOS FROM ORCAEVENTO"
                " WHERE NRORCAEVENTO = '0000000104' AND NRSEQORCAEVE = '02'"),
            "013" "2005" "50");
  EXPECT_EQ(One("SELECT COUNT(*) || '/' || SUM(VRRECECONTOREV) FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000104'"
                " AND NRSEQORCAEVE = '02' AND IDORIGEMINCLUSAO = 'DISTRATO' AND IDCONTPROCESDIST = 'S'"),
            "5/490000");  // amounts are stored in cents
  // One fine product per fine; the party that paid nothing has none.
  EXPECT_EQ(One("SELECT COUNT(*) || '/' || SUM(VRUNITITEM) FROM ITEMORCAEVENTO WHERE NRORCAEVENTO = '0000000104'"),
            "4/670000");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRORCAEVENTO = '0000000104' AND IDSTATREC IN ('A', 'P')"),
            "0");
  EXPECT_EQ(One("SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE NRORCAEVENTO = '0000000104'"), "5");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTRATDISTRATO WHERE NRORCAEVENTO = '0000000104'"), "0");
  // The consolidation now reads the recorded values.
  const DataPacket recorded = Priced(kTotal, "S");
  EXPECT_EQ(recorded.rowCount(), 5u);
  EXPECT_DOUBLE_EQ(recorded.at(RowOf(recorded, "1025"), "VRORIGREC").asDouble(), 400);
}

TEST_F(ServerRules, TheNegotiatedValueConfirmedInTheDialogIsRecorded) {
  Start();
  Variant parties = Reviewed(kTotal);
  DataPacket edited = parties.asPacket();
  edited.rows[RowOf(edited, "1024")][static_cast<std::size_t>(edited.fieldIndex("VRORIGREC"))] = Variant(350.0);
  // A negotiation may forgive, never add to what was calculated.
  DataPacket above = edited;
  above.rows[RowOf(above, "1024")][static_cast<std::size_t>(above.fieldIndex("VRORIGREC"))] = Variant(500.01);
  EXPECT_EQ(Refusal("DistratoTotal", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), Variant(above)}),
            "O valor negociado do contratante 1024 (500,01) não pode ser maior que o valor calculado (500,00).");
  EXPECT_EQ(DistratoTotal(Variant(edited)), "");
  EXPECT_EQ(One("SELECT VRORIGREC || '/' || VRORIGRECNOEDIT FROM DISTRATOPARCIAL WHERE CDCLIENTE = '1024'"),
            "35000/50000");
}

TEST_F(ServerRules, APartyChangedByAnotherOperatorIsRefusedAndNothingIsWritten) {
  Start();
  Variant parties = Reviewed(kTotal);
  const std::string before = Snapshot(kTotal);
  // Another operator settles Marina's second installment after the pricing.
  server->Exec("UPDATE CONTARECEBER SET IDSTATREC = 'B' WHERE NRLANCTONF = '0000007324' AND NRSEQVENREC = '02'");
  const std::string changed = Snapshot(kTotal);
  EXPECT_EQ(Refusal("DistratoTotal", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), parties}),
            "Os valores do contratante Marina Castilhos Reis foram alterados por outro operador depois do cálculo da"
            " multa (valor atual 2.000,00, confirmado 500,00). Refaça o distrato.");
  EXPECT_EQ(Snapshot(kTotal), changed);
  EXPECT_NE(before, changed);
}

TEST_F(ServerRules, AFailingLastWriteLeavesTheBudgetAsItWas) {
  Start("CREATE TRIGGER fail_last AFTER INSERT ON DISTRATOPARCIAL WHEN NEW.CDCLIENTE = '1026'"
        " BEGIN SELECT RAISE(ABORT, 'disco cheio'); END;");
  Variant parties = Reviewed(kTotal);
  const std::string before = Snapshot(kTotal);
  // A failed write is a fault: the operator reads our text, not the database's.
  EXPECT_EQ(Refusal("DistratoTotal", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), parties}).rfind("Falha interna no servidor de aplicação", 0),
            0u);
  EXPECT_EQ(Snapshot(kTotal), before);
  EXPECT_EQ(One("SELECT COUNT(*) FROM ITEMORCAEVENTO WHERE NRORCAEVENTO = '0000000104'"), "0");
}

TEST_F(ServerRules, EveryPartyMustBeConfirmedAndRescindableBeforeAnythingIsWritten) {
  Start();
  DataPacket partial = Reviewed(kTotal).asPacket();
  partial.rows.pop_back();
  EXPECT_NE(Refusal("DistratoTotal", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), Variant(partial)})
                .find("entrou no orçamento depois do cálculo da multa"),
            std::string::npos);
  // Juliana's open renegotiation blocks the whole budget.
  Variant main = Reviewed(kMain);
  EXPECT_EQ(Refusal("DistratoTotal", {kBranch, kMain, "SUPERVISOR", "01", Empty(), main}), "N_PARAM_RENEGO_CT_ABERTA");
  EXPECT_EQ(One("SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE NRORCAEVENTO IN ('0000000101', '0000000104')"), "0");
  // A second run finds the parties already in process.
  EXPECT_EQ(DistratoTotal(Reviewed(kTotal)), "");
  EXPECT_NE(Refusal("DistratoTotal", {kBranch, kTotal, "SUPERVISOR", "01", Empty(), Variant(partial)})
                .find("já está em processo de distrato"),
            std::string::npos);
}

// --- VdOrcaAprovado --------------------------------------------------------

TEST_F(ServerRules, OnlyAnUnapprovedChildBudgetOfTheRescissionAnswersTrue) {
  Start();
  EXPECT_TRUE(Call("VdOrcaAprovado", {kBranch, kUnapproved, "01", "1029"}).asBool());
  EXPECT_FALSE(Call("VdOrcaAprovado", {kBranch, kUnapproved, "01", "1030"}).asBool());
  EXPECT_FALSE(Call("VdOrcaAprovado", {kBranch, kInProcess, "01", ""}).asBool());
  server->Exec("UPDATE ORCAEVENTO SET IDORCAAPROVADO = 'N' WHERE NRORCAEVENTO = '0000000105' AND NRSEQORCAEVE = '02'");
  EXPECT_TRUE(Call("VdOrcaAprovado", {kBranch, kInProcess, "02", ""}).asBool());
}

// --- ConsolidaDistratoTotal ------------------------------------------------

class TotalConsolidation : public ServerRules {
 protected:
  // Thiago is refunded in two variable installments, Valentina pays hers on
  // a fixed day; both confirmed as the dialog confirms them.
  Variant Review() {
    Variant parties = Reviewed(kInProcess, "S");
    DataPacket p = parties.asPacket();
    auto set = [&](const char* client, const char* field, Variant v) {
      p.rows[RowOf(p, client)][static_cast<std::size_t>(p.fieldIndex(field))] = std::move(v);
    };
    set("1027", "IDTPFORMAPGTO", Variant("V"));
    set("1028", "IDTPFORMAPGTO", Variant("F"));
    set("1028", "NRDIAPGTOFIXO", Variant(10.0));
    set("1028", "NRPARCELAS", Variant(2.0));
    set("1028", "IDMESINIPGTO", Variant("P"));
    DataPacket plan({{"DTVENCIMENTO", FieldType::DateTime, 0}, {"CDFILIAL", FieldType::String, 4},
                     {"NRORCAEVENTO", FieldType::String, 10}, {"CDCLIENTE", FieldType::String, 21},
                     {"VRPARCELA", FieldType::Float, 0}});
    plan.addRow({Variant(EncodeDate(2031, 1, 10)), Variant(kBranch), Variant(kInProcess), Variant("1027"),
                 Variant(1000.0)});
    plan.addRow({Variant(EncodeDate(2031, 2, 10)), Variant(kBranch), Variant(kInProcess), Variant("1027"),
                 Variant(2000.0)});
    return Call("SetConfirmar", {Variant(p), Variant(plan), kBranch, kInProcess});
  }
  std::string Consolidate(const Variant& parties, const char* account = "1") {
    return Call("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", account, parties}).asText();
  }
};

TEST_F(TotalConsolidation, GeneratesEachPartysAccountInItsPaymentForm) {
  Start();
  const Variant parties = Review();
  EXPECT_EQ(Consolidate(parties), "");

  // Thiago's refund: the two payables he was promised.
  EXPECT_EQ(One("SELECT group_concat(VRORIGPAG || '@' || DTORIGVENPAG || IDSTATPAG || IDORIGNFORCA, ',')"
                " FROM CONTAPAGAR WHERE CDCLIENTE = '1027'"),
            "100000@" + std::to_string(static_cast<int>(EncodeDate(2031, 1, 10).days)) + ".0AT,200000@" +
                std::to_string(static_cast<int>(EncodeDate(2031, 2, 10).days)) + ".0AT");
  // Valentina's 200.00 on day 10 of the next two months, against account 001.
  EXPECT_EQ(One("SELECT COUNT(*) || '/' || SUM(VRORIGREC) || '/' || MIN(CDCONTCORR) FROM CONTARECEBER"
                " WHERE CDCLIENTE = '1028' AND IDORIGNFORCA = 'T' AND IDSTATREC = 'A'"),
            "2/20000/1203456");
  const std::string day = One("SELECT strftime('%d', MIN(DTORIGVENREC) + julianday('1899-12-30'))"
                              " FROM CONTARECEBER WHERE CDCLIENTE = '1028' AND IDORIGNFORCA = 'T'");
  EXPECT_EQ(day, "10");
  // Both consolidated, with their child rows; what they paid is applied to the rescission.
  EXPECT_EQ(One("SELECT group_concat(DISTINCT IDCONTPROCESDIST) FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000105'"),
            "C");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER WHERE NRORCAEVENTO = '0000000105' AND IDSTATREC = 'B'"
                " AND IDBAIXAREALIZADA = 'N'"),
            "0");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTRATDISTRATO WHERE NRORCAEVENTO = '0000000105'"), "0");

  // The accounts grid sees them as accounts generated by the rescission.
  const Variant accounts = Call("GetContas", {"01", kInProcess, "01", "1028", "1", "C", "ORCAMENTO", "N", "TOTAL"});
  int generated = 0;
  const DataPacket& receivables = accounts[0].asPacket();
  for (std::size_t r = 0; r < receivables.rowCount(); ++r)
    if (receivables.at(r, "IDORIGNFORCA").asText() == "T") ++generated;
  EXPECT_EQ(generated, 2);

  // A second consolidation of the same rescission is refused.
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", parties}),
            "Não há contratantes em processo de distrato total no orçamento 0000000105: o distrato total já foi"
            " consolidado.");
}

TEST_F(TotalConsolidation, RefusalsChangeNothing) {
  Start("CREATE TRIGGER fail_last AFTER INSERT ON CONTARECEBER WHEN NEW.CDCLIENTE = '1028'"
        " AND NEW.NRSEQVENREC = '02' BEGIN SELECT RAISE(ABORT, 'disco cheio'); END;");
  const Variant parties = Review();
  const std::string before = Snapshot(kInProcess);
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "", parties}),
            "Conta corrente deve ser informada.");
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "9", parties}),
            "Conta corrente 009 não cadastrada para a empresa 01.");
  // A failed write is a fault: the operator reads our text, not the database's.
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", parties}).rfind("Falha interna no servidor de aplicação", 0),
            0u);
  EXPECT_EQ(Snapshot(kInProcess), before);
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTRATDISTRATO WHERE NRORCAEVENTO = '0000000105'"), "3");
}

TEST_F(TotalConsolidation, AnUnconfirmedOrChangedPartyIsRefused) {
  Start();
  Variant parties = Review();
  DataPacket changed = parties.asPacket();
  changed.rows[RowOf(changed, "1028")][static_cast<std::size_t>(changed.fieldIndex("IDTPFORMAPGTO"))] = Variant("E");
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", Variant(changed)}),
            "A forma de pagamento do contratante Valentina Rech Souza não foi confirmada.");
  // Another operator reverses one of Thiago's settlements after the review.
  server->Exec("UPDATE CONTARECEBER SET IDSTATREC = 'A' WHERE NRLANCTONF = '0000007427' AND NRSEQVENREC = '01'");
  EXPECT_NE(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", parties})
                .find("foram alterados por outro operador depois do distrato"),
            std::string::npos);
  server->Exec("UPDATE ORCAEVENTO SET IDORCAAPROVADO = 'N' WHERE NRORCAEVENTO = '0000000105' AND NRSEQORCAEVE = '02'");
  EXPECT_EQ(Refusal("ConsolidaDistratoTotal", {kBranch, kInProcess, "SUPERVISOR", "1", parties}),
            "Orçamento filho gerado pelo distrato não foi aprovado. Operação bloqueada.");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000105' AND IDCONTPROCESDIST = 'C'"), "0");
}

// --- ConsolidaDistrato -----------------------------------------------------

class PartialConsolidation : public ServerRules {
 protected:
  static DataPacket Form(const char* mode, std::vector<std::pair<DateTime, double>> rows = {}) {
    DataPacket p({{"DTVENCPARCELA", FieldType::DateTime, 0}, {"NRPARCELAS", FieldType::Integer, 0},
                  {"NRDIAPGTOFIXO", FieldType::Integer, 0}, {"VRPARCELA", FieldType::Float, 0},
                  {"IDMESINIPGTO", FieldType::String, 1}, {"IDTPFORMAPGTO", FieldType::String, 1},
                  {"NRSEQPARC", FieldType::Integer, 0}});
    if (rows.empty()) p.addRow({Variant(), Variant(1), Variant(1), Variant(), Variant("A"), Variant(mode), Variant()});
    int n = 0;
    for (auto& [due, value] : rows)
      p.addRow({Variant(due), Variant(), Variant(), Variant(value), Variant(""), Variant(mode), Variant(++n)});
    return p;
  }
  // Ana's partial rescission recorded, then priced for the consolidation.
  Variant RescindAna() {
    Call("Distrato", {kBranch, kMain, "01", "1", "SUPERVISOR", "1001", Variant(2400.0), "", Variant(1600.0),
                      Variant(-1600.0)});
    return Call("ConfirmaValores", {kBranch, kMain, "seq", "1", "01", Variant(0.0), "1001", "", "S"});
  }
  std::string Consolidate(const Variant& form, double negotiated, double paid, const char* account = "1",
                          const char* kind = "CNTPAGAR") {
    return Call("ConsolidaDistrato", {kBranch, kMain, "01", "1", form, Variant(negotiated), "SUPERVISOR", account,
                                      "1001", Variant(paid), kind, ""})
        .asText();
  }
};

TEST_F(PartialConsolidation, TheRefundIsGeneratedOnceInTheChosenInstallments) {
  Start();
  const Variant values = RescindAna();
  EXPECT_DOUBLE_EQ(values[1].asDouble(), 4000);
  const Variant form(Form("V", {{EncodeDate(2031, 3, 1), 600.0}, {EncodeDate(2031, 4, 1), 1000.0}}));
  EXPECT_EQ(Consolidate(form, 1600, 4000), "");
  EXPECT_EQ(One("SELECT group_concat(VRORIGPAG || IDORIGNFORCA, ',') FROM CONTAPAGAR WHERE CDCLIENTE = '1001'"),
            "60000I,100000I");
  EXPECT_EQ(One("SELECT group_concat(IDCONTPROCESDIST, ',') FROM CONTRATANTE WHERE CDCLIENTE = '1001'"
                " AND NRORCAEVENTO = '0000000101' ORDER BY NRSEQORCAEVE"),
            "C,C");
  EXPECT_EQ(Refusal("ConsolidaDistrato", {kBranch, kMain, "01", "1", form, Variant(1600.0), "SUPERVISOR", "1", "1001",
                                          Variant(4000.0), "CNTPAGAR", ""}),
            "O distrato do contratante Ana Paula Ferreira já foi consolidado. Operação bloqueada.");
}

TEST_F(PartialConsolidation, AFixedDayFormSplitsTheRefundInCents) {
  Start();
  RescindAna();
  DataPacket fixed = Form("F");
  fixed.rows[0][static_cast<std::size_t>(fixed.fieldIndex("NRPARCELAS"))] = Variant(3);
  fixed.rows[0][static_cast<std::size_t>(fixed.fieldIndex("NRDIAPGTOFIXO"))] = Variant(15);
  fixed.rows[0][static_cast<std::size_t>(fixed.fieldIndex("IDMESINIPGTO"))] = Variant("P");
  EXPECT_EQ(Consolidate(Variant(fixed), 1600, 4000), "");
  EXPECT_EQ(One("SELECT group_concat(VRORIGPAG, ',') FROM CONTAPAGAR WHERE CDCLIENTE = '1001'"),
            "53333,53333,53334");
  EXPECT_EQ(One("SELECT group_concat(DISTINCT strftime('%d', DTORIGVENPAG + julianday('1899-12-30')))"
                " FROM CONTAPAGAR WHERE CDCLIENTE = '1001'"),
            "15");
}

TEST_F(PartialConsolidation, WhatTheDialogSentMustMatchWhatWasRecorded) {
  Start();
  RescindAna();
  const Variant single(Form("E"));
  EXPECT_EQ(Refusal("ConsolidaDistrato", {kBranch, kMain, "01", "1", single, Variant(1600.0), "SUPERVISOR", "",
                                          "1001", Variant(4000.0), "CNTPAGAR", ""}),
            "Conta corrente deve ser informada.");
  EXPECT_EQ(Refusal("ConsolidaDistrato", {kBranch, kMain, "01", "1", single, Variant(1500.0), "SUPERVISOR", "1",
                                          "1001", Variant(4000.0), "CNTPAGAR", ""}),
            "O valor negociado informado (1.500,00) difere do valor registrado no distrato (1.600,00).");
  const Variant shortPlan(Form("V", {{EncodeDate(2031, 3, 1), 600.0}}));
  EXPECT_NE(Refusal("ConsolidaDistrato", {kBranch, kMain, "01", "1", shortPlan, Variant(1600.0), "SUPERVISOR", "1",
                                          "1001", Variant(4000.0), "CNTPAGAR", ""})
                .find("difere do valor negociado"),
            std::string::npos);
  // Another operator settled one more installment after the values were shown.
  server->Exec("UPDATE CONTARECEBER SET IDSTATREC = 'B' WHERE NRLANCTONF = '0000004101' AND NRSEQVENREC = '02'");
  EXPECT_NE(Refusal("ConsolidaDistrato", {kBranch, kMain, "01", "1", single, Variant(1600.0), "SUPERVISOR", "1",
                                          "1001", Variant(4000.0), "CNTPAGAR", ""})
                .find("alterados por outro operador"),
            std::string::npos);
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTAPAGAR WHERE CDCLIENTE = '1001'"), "0");
  EXPECT_EQ(One("SELECT IDCONTPROCESDIST FROM CONTRATANTE WHERE CDCLIENTE = '1001' AND NRSEQORCAEVE = '01'"
                " AND NRORCAEVENTO = '0000000101'"),
            "S");
}

TEST_F(PartialConsolidation, AnUnapprovedChildBudgetOrATotalPartyIsRefused) {
  Start();
  EXPECT_EQ(Refusal("ConsolidaDistrato", {kBranch, kUnapproved, "01", "1", Variant(Form("E")), Variant(1250.0),
                                          "SUPERVISOR", "1", "1029", Variant(5000.0), "CNTPAGAR", ""}),
            "Orçamento filho gerado pelo distrato não foi aprovado. Operação bloqueada.");
  EXPECT_NE(Refusal("ConsolidaDistrato", {kBranch, kInProcess, "01", "1", Variant(Form("E")), Variant(3000.0),
                                          "SUPERVISOR", "1", "1027", Variant(6000.0), "CNTPAGAR", ""})
                .find("distrato total"),
            std::string::npos);
}

}  // namespace
