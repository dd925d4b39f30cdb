// Undoing a rescission on the server: the approval a supervisor's password
// gives one connection, the attempt limit, the operator list that carries no
// digest, what an undo restores and refuses, and the audit rows every change
// writes. Each test has a demo database of its own, since they write.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "audit/audit_report.h"
#include "lib/criptografa.h"
#include "session/caller_session.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "session/failed_attempts.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;

const char* kBranch = "0001";

class Undo : public DemoOnBackend {
 public:
  Variant Call(CallerSession& caller, const std::string& method, std::vector<Variant> args) {
    return app_->call(caller, method, args);
  }
  bool Confirm(CallerSession& caller, const std::string& op, const std::string& password) {
    return Call(caller, "ConfirmaSenhaOperador", {op, password}).asBool();
  }
  Variant UndoPartial(CallerSession& caller, const char* budget, const char* client) {
    return Call(caller, "DesfazerDistrato", {"CONTRATANTE", kBranch, budget, "01", "01", client, "", "OPERADOR",
                                             Variant(DateTime{46364}), "1"});
  }
  Variant UndoTotal(CallerSession& caller, const char* budget) {
    return Call(caller, "DesfazerDistrato", {"GERAL", kBranch, budget, "seq", "01", "", List(caller, budget),
                                             "OPERADOR", Variant(DateTime{46364}), ""});
  }
  Variant List(CallerSession& caller, const char* budget) {
    return Call(caller, "GetContratante", {kBranch, budget});
  }
  // Everything a rescission and an undo touch, as text.
  std::string Snapshot(const char* budget) {
    const std::string b = std::string("'") + budget + "'";
    return Rows({"SELECT NRSEQORCAEVE, COALESCE(NRSEQORCAEVEPAI, '') FROM ORCAEVENTO WHERE NRORCAEVENTO = " + b +
              " ORDER BY 1",
          "SELECT NRSEQORCAEVE, CDCLIENTE, VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST,"
          " COALESCE(IDTPDISTRATOREALI, '') FROM CONTRATANTE WHERE NRORCAEVENTO = " + b + " ORDER BY 1, 2",
          "SELECT NRLANCTONF, NRSEQVENREC, IDSTATREC, IDBAIXAREALIZADA, COALESCE(IDSTATRECDISTRATO, '-'),"
          " COALESCE(IDBAIXAREALDISTRATO, '-') FROM CONTARECEBER WHERE NRORCAEVENTO = " + b + " ORDER BY 1, 2",
          "SELECT NRLANCTONF, NRSEQVENPAG, IDSTATPAG FROM CONTAPAGAR WHERE NRORCAEVENTO = " + b + " ORDER BY 1, 2",
          "SELECT NRSEQORCAEVE, NRITEM FROM ITEMORCAEVENTO WHERE NRORCAEVENTO = " + b + " ORDER BY 1, 2",
          "SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE NRORCAEVENTO = " + b});
  }

  LoggedInCaller caller_{"OPERADOR", "OPERADOR", "127.0.0.1:40001"};
};

INSTANTIATE_TEST_SUITE_P(Backends, Undo, AllBackends(), BackendName);

// --- the operator list and the password -------------------------------------

TEST_P(Undo, OnlySupervisorsAndManagersAreListedAndNoDigestLeaves) {
  const DataPacket all = Call(caller_, "GetOperador", {"T"}).asPacket();
  EXPECT_EQ(Column(all, "CDOPERADOR"), (std::vector<std::string>{"GERENTE", "SUPERVISOR"}));
  EXPECT_EQ(Column(all, "CDSENHOPER"), (std::vector<std::string>{"S", "S"}));
  EXPECT_EQ(Column(all, "NMFANVEN"), (std::vector<std::string>{"Roberta Menezes", ""}));
  for (std::size_t r = 0; r < all.rowCount(); ++r)
    for (const FieldDef& f : all.fields)
      EXPECT_EQ(all.at(r, f.name).asText().find("argon2"), std::string::npos) << f.name;

  EXPECT_EQ(Call(caller_, "GetOperador", {"supervisor "}).asPacket().rowCount(), 1u);
  EXPECT_EQ(Call(caller_, "GetOperador", {"OPERADOR"}).asPacket().rowCount(), 0u) << "a plain operator";
  EXPECT_EQ(Call(caller_, "GetOperador", {"NINGUEM"}).asPacket().rowCount(), 0u);

  // An approver without a password is listed without the marker, and can
  // never confirm.
  db_->exec("UPDATE OPERADOR SET CDSENHOPER = '' WHERE CDOPERADOR = 'GERENTE'");
  EXPECT_EQ(Call(caller_, "GetOperador", {"GERENTE"}).asPacket().at(0, "CDSENHOPER").asText(), "");
  EXPECT_FALSE(Confirm(caller_, "GERENTE", ""));
  EXPECT_FALSE(caller_.takeApproval(CallerSession::Clock::now(), 5min));
}

TEST_P(Undo, OnlyAnApproversRightPasswordApprovesTheConnection) {
  const auto now = CallerSession::Clock::now;
  struct Case {
    const char* op;
    const char* password;
    bool confirms;
  } cases[] = {{"SUPERVISOR", "DISTRATO", true},  {"supervisor", "distrato", true}, {"GERENTE", "GERENTE1", true},
               {"SUPERVISOR", "GERENTE1", false}, {"SUPERVISOR", "", false},        {"OPERADOR", "OPERADOR1", false},
               {"NINGUEM", "DISTRATO", false}};
  for (const Case& c : cases) {
    LoggedInCaller caller("OPERADOR", "OPERADOR", "127.0.0.1:40002");
    EXPECT_EQ(Confirm(caller, c.op, c.password), c.confirms) << c.op << " / " << c.password;
    EXPECT_EQ(caller.takeApproval(now(), 5min).has_value(), c.confirms) << c.op << " / " << c.password;
  }
}

TEST_P(Undo, AnOlderShortDigestConfirmsAndIsRewrittenInTheFullForm) {
  Statement old = db_->prepare("UPDATE OPERADOR SET CDSENHOPER = ?1 WHERE CDOPERADOR = 'GERENTE'");
  old.bind(1, DigestSenha("GERENTE1")).run();
  EXPECT_FALSE(Confirm(caller_, "GERENTE", "OUTRA"));
  EXPECT_EQ(One("SELECT length(CDSENHOPER) FROM OPERADOR WHERE CDOPERADOR = 'GERENTE'"), "20");
  EXPECT_TRUE(Confirm(caller_, "GERENTE", "gerente1"));
  EXPECT_EQ(One("SELECT substr(CDSENHOPER, 1, 10) FROM OPERADOR WHERE CDOPERADOR = 'GERENTE'"), "$argon2id$");
  EXPECT_TRUE(Confirm(caller_, "GERENTE", "GERENTE1"));
}

TEST_P(Undo, FiveWrongPasswordsStopTheConnectionThatTriedNotTheApprover) {
  Statement add = db_->prepare("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, CDSENHOPER, IDPAPEL) VALUES (?, ?, ?, ?)");
  add.bindAll("TRANCADO", "Teste de bloqueio", HashOperatorPassword("CERTA123"), "GERENTE").run();
  for (int i = 1; i <= 4; ++i) EXPECT_FALSE(Confirm(caller_, i % 2 ? "TRANCADO" : "SUPERVISOR", "ERRADA")) << i;
  const std::string locked = Refusal([&] { Confirm(caller_, "TRANCADO", "ERRADA"); });
  EXPECT_EQ(locked, "Confirmação de senha bloqueada nesta conexão por excesso de tentativas inválidas. Tente novamente"
                    " em 15 minutos.");
  EXPECT_EQ(Refusal([&] { Confirm(caller_, "TRANCADO", "CERTA123"); }), locked) << "even the right password waits";
  EXPECT_EQ(Refusal([&] { Confirm(caller_, "SUPERVISOR", "DISTRATO"); }), locked) << "whoever it names";
  EXPECT_FALSE(caller_.takeApproval(CallerSession::Clock::now(), 5min));
  // Another connection, even of the same operator, confirms as usual.
  LoggedInCaller other("OPERADOR", "OPERADOR", "127.0.0.1:40009");
  EXPECT_TRUE(Confirm(other, "TRANCADO", "CERTA123"));
  EXPECT_TRUE(Confirm(other, "SUPERVISOR", "DISTRATO"));
}

// --- the approval -------------------------------------------------------------

TEST_P(Undo, TheUndoNeedsAnApprovalOfThisConnectionWithinFiveMinutesUsedOnce) {
  const char* budget = demo::kUndoPartialBudget;
  const std::string before = Snapshot(budget);
  const std::string refused =
      "Cancelamento do distrato só é possível caso um(a) supervisor(a) ou gerente informe sua senha (confirmada nesta"
      " conexão há no máximo 5 minutos). Operação bloqueada.";

  std::vector<Variant> args{"CONTRATANTE", kBranch, budget, "01", "01", "3301", "", "OPERADOR", Variant(DateTime{}), "1"};
  EXPECT_EQ(Refusal([&] { app_->call("DesfazerDistrato", args); }), refused) << "a call from no connection";
  EXPECT_EQ(Refusal([&] { UndoPartial(caller_, budget, "3301"); }), refused) << "no approval";

  LoggedInCaller other("OPERADOR", "OPERADOR", "127.0.0.1:40003");
  ASSERT_TRUE(Confirm(other, "SUPERVISOR", "DISTRATO"));
  EXPECT_EQ(Refusal([&] { UndoPartial(caller_, budget, "3301"); }), refused) << "approved on another connection";

  caller_.grantApproval("SUPERVISOR", CallerSession::Clock::now() - 5min - 1s);
  EXPECT_EQ(Refusal([&] { UndoPartial(caller_, budget, "3301"); }), refused) << "expired";

  caller_.grantApproval("OPERADOR", CallerSession::Clock::now());
  EXPECT_EQ(Refusal([&] { UndoPartial(caller_, budget, "3301"); }), refused) << "not an approver";
  EXPECT_EQ(Snapshot(budget), before);

  ASSERT_TRUE(Confirm(caller_, "GERENTE", "gerente1"));
  EXPECT_EQ(UndoPartial(caller_, budget, "3301").asText(), "");
  EXPECT_EQ(Refusal([&] { UndoTotal(caller_, demo::kUndoTotalBudget); }), refused) << "used up by the first undo";
}

TEST_P(Undo, ARefusedUndoUsesTheApprovalUpAndWritesNothing) {
  const char* budget = demo::kUndoCommissionBudget;
  const std::string before = Snapshot(budget);
  ASSERT_TRUE(Confirm(caller_, "SUPERVISOR", "DISTRATO"));
  EXPECT_NE(Refusal([&] { UndoPartial(caller_, budget, "3305"); }).find("Existe comissão gerada"), std::string::npos);
  EXPECT_EQ(Snapshot(budget), before);
  EXPECT_FALSE(caller_.takeApproval(CallerSession::Clock::now(), 5min));
}

// --- what an undo restores and refuses --------------------------------------------

TEST_P(Undo, ARescissionAndItsConsolidationUndoneLeaveThePartyAsItWas) {
  const char* budget = demo::kMainBudget;
  const std::string before = Snapshot(budget);
  caller_.logIn("SUPERVISOR", "SUPERVISOR");
  Call(caller_, "Distrato",
       {kBranch, budget, "01", "1", "SUPERVISOR", "1001", Variant(2400.0), "", Variant(1600.0), Variant(-1600.0)});
  DataPacket form({{"IDTPFORMAPGTO", FieldType::String, 1}, {"NRDIAPGTOFIXO", FieldType::Integer, 0},
                   {"NRPARCELAS", FieldType::Integer, 0}, {"IDMESINIPGTO", FieldType::String, 1}});
  form.addRow({Variant("F"), Variant(10), Variant(2), Variant("P")});
  Call(caller_, "ConsolidaDistrato", {kBranch, budget, "01", "1", Variant(form), Variant(1600.0), "SUPERVISOR", "1",
                                      "1001", Variant(4000.0), "CNTPAGAR", ""});
  ASSERT_EQ(One("SELECT COUNT(*) FROM CONTAPAGAR WHERE CDCLIENTE = '1001' AND IDORIGNFORCA = 'I'"), "2");
  ASSERT_NE(Snapshot(budget), before);

  caller_.logIn("OPERADOR", "OPERADOR");
  ASSERT_TRUE(Confirm(caller_, "SUPERVISOR", "DISTRATO"));
  EXPECT_EQ(UndoPartial(caller_, budget, "1001").asText(), "");
  EXPECT_EQ(Snapshot(budget), before);
  // Free again: a new rescission is priced as the first one was.
  EXPECT_DOUBLE_EQ(Call(caller_, "ConfirmaValores", {kBranch, budget, "01", "1", "01", Variant(0.0), "1001", "", "N"})[1]
                       .asDouble(),
                   4000);
}

TEST_P(Undo, APartialUndoRestoresTheDemoPartyAndRemovesWhatTheRescissionMade) {
  const char* budget = demo::kUndoPartialBudget;
  ASSERT_TRUE(Confirm(caller_, "SUPERVISOR", "DISTRATO"));
  EXPECT_EQ(UndoPartial(caller_, budget, "3301").asText(), "");
  const std::string where = std::string(" WHERE NRORCAEVENTO = '") + budget + "' AND CDCLIENTE = '3301'";
  EXPECT_EQ(One("SELECT group_concat(NRSEQORCAEVE || IDSITUCONTOREV || IDCONTPROCESDIST || COALESCE(IDTPDISTRATOREALI,"
                " '-'), ',') FROM CONTRATANTE" + where),
            "01CNTGERADAN-");
  EXPECT_EQ(One("SELECT group_concat(s, '') FROM (SELECT IDSTATREC || IDBAIXAREALIZADA AS s FROM CONTARECEBER" +
                where + " ORDER BY NRSEQVENREC) AS receivables"),
            "BNBNBNBNBNBNANANANANANAN");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTAPAGAR" + where), "0") << "the open refund is gone";
  EXPECT_EQ(One(std::string("SELECT COUNT(*) FROM ORCAEVENTO WHERE NRORCAEVENTO = '") + budget + "'"), "1");
  EXPECT_EQ(One(std::string("SELECT COUNT(*) FROM ITEMORCAEVENTO WHERE NRORCAEVENTO = '") + budget + "'"), "0");
  EXPECT_EQ(One("SELECT COUNT(*) FROM DISTRATOPARCIAL" + where), "0");
  EXPECT_EQ(One(std::string("SELECT IDCONTPROCESDIST FROM CONTRATANTE WHERE NRORCAEVENTO = '") + budget +
                "' AND CDCLIENTE = '3302'"),
            "N");
}

TEST_P(Undo, ATotalUndoRestoresEveryPartyAllOrNone) {
  const char* budget = demo::kUndoTotalBudget;
  const Variant list = List(caller_, budget);
  ASSERT_TRUE(Confirm(caller_, "GERENTE", "GERENTE1"));
  EXPECT_EQ(UndoTotal(caller_, budget).asText(), "");
  const std::string where = std::string(" WHERE NRORCAEVENTO = '") + budget + "'";
  EXPECT_EQ(Rows({"SELECT CDCLIENTE || NRENDCLIORCEVE || IDCONTPROCESDIST || IDSITUCONTOREV FROM CONTRATANTE" + where +
                  " ORDER BY 1"}),
            "33031NCNTGERADA;\n33032NCNTGERADA;\n33041NCNTGERADA;\n");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER" + where + " AND IDORIGNFORCA = 'T'"), "0");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTAPAGAR" + where), "0");
  EXPECT_EQ(One("SELECT COUNT(*) FROM CONTARECEBER" + where + " AND IDSTATREC = 'C'"), "0");
  EXPECT_EQ(One("SELECT COUNT(*) FROM ORCAEVENTO" + where), "1");

  // Undone already: nothing left to undo.
  ASSERT_TRUE(Confirm(caller_, "GERENTE", "GERENTE1"));
  EXPECT_EQ(Refusal([&] {
              Call(caller_, "DesfazerDistrato",
                   {"GERAL", kBranch, budget, "seq", "01", "", list, "OPERADOR", Variant(DateTime{}), ""});
            }),
            "Não há distrato total a desfazer no orçamento 0000000172.");
}

TEST_P(Undo, UndosThatMustNotHappenAreRefusedWithNothingWritten) {
  DataPacket stale({{"CDCLIENTE", FieldType::String, 21}, {"IDCONTPROCESDIST", FieldType::FixedString, 1}});
  stale.addRow({Variant("3303"), Variant("S")});
  stale.addRow({Variant("3304"), Variant("C")});
  struct Case {
    const char* what;
    const char* budget;
    std::function<Variant(Undo&)> call;
    const char* refusal;  // the start of the message
  } cases[] = {
      {"a commission generated", demo::kUndoCommissionBudget,
       [](Undo& t) { return t.UndoPartial(t.caller_, demo::kUndoCommissionBudget, "3305"); }, "Existe comissão gerada"},
      {"a generated account settled", demo::kUndoSettledBudget,
       [](Undo& t) { return t.UndoPartial(t.caller_, demo::kUndoSettledBudget, "3307"); },
       "A conta gerada pelo distrato do contratante Xavier Mello Dorneles já foi baixada."},
      {"a party of a total rescission undone as partial", demo::kUndoTotalBudget,
       [](Undo& t) { return t.UndoPartial(t.caller_, demo::kUndoTotalBudget, "3303"); },
       "O contratante Tatiana Moraes Lenz está em processo de distrato total."},
      {"a party in no rescission", demo::kUndoPartialBudget,
       [](Undo& t) { return t.UndoPartial(t.caller_, demo::kUndoPartialBudget, "3302"); },
       "O contratante Simone Azevedo Kunz não está em processo de distrato"},
      {"a party with a substitute recorded", demo::kMainBudget,
       [](Undo& t) { return t.UndoPartial(t.caller_, demo::kMainBudget, "1005"); },
       "O contratante Eduarda Lima Santos tem substituto registrado"},
      {"a budget without a total rescission", demo::kTotalBudget,
       [](Undo& t) { return t.UndoTotal(t.caller_, demo::kTotalBudget); }, "Não há distrato total a desfazer"},
      {"a list older than the server's state", demo::kUndoTotalBudget,
       [&](Undo& t) {
         return t.Call(t.caller_, "DesfazerDistrato", {"GERAL", kBranch, demo::kUndoTotalBudget, "seq", "01", "",
                                                       Variant(stale), "OPERADOR", Variant(DateTime{}), ""});
       },
       "O contratante Tatiana Moraes Lenz foi alterado por outro operador."},
      {"an unknown kind", demo::kUndoPartialBudget,
       [](Undo& t) {
         return t.Call(t.caller_, "DesfazerDistrato", {"TUDO", kBranch, demo::kUndoPartialBudget, "01", "01", "3301",
                                                       "", "OPERADOR", Variant(DateTime{}), "1"});
       },
       "DesfazerDistrato: tipo inválido"},
  };
  for (Case& c : cases) {
    const std::string before = Snapshot(c.budget);
    ASSERT_TRUE(Confirm(caller_, "SUPERVISOR", "DISTRATO"));
    const std::string refusal = Refusal([&] { c.call(*this); });
    EXPECT_EQ(refusal.rfind(c.refusal, 0), 0u) << c.what << ": " << refusal;
    EXPECT_EQ(Snapshot(c.budget), before) << c.what;
  }
  EXPECT_EQ(One("SELECT COUNT(*) FROM AUDITORIA WHERE NMMETODO = 'DesfazerDistrato'"), "0");
}

TEST_P(Undo, TheCommissionQuestionLooksAtThePartysSequencesOrTheWholeBudget) {
  struct Case {
    const char* budget;
    const char* client;
    const char* kind;
    bool allowed;
  } cases[] = {{demo::kUndoCommissionBudget, "3305", "PARCIAL", false}, {demo::kUndoCommissionBudget, "", "TOTAL", false},
               {demo::kUndoPartialBudget, "3301", "PARCIAL", true},     {demo::kUndoTotalBudget, "3303", "TOTAL", true}};
  for (const Case& c : cases)
    EXPECT_EQ(Call(caller_, "Vd_ExistComisGerada", {kBranch, c.budget, c.client, c.kind}).asBool(), c.allowed)
        << c.budget << " " << c.kind;
  // A commission on another sequence does not block a party outside it.
  db_->exec(
      "UPDATE COMISSAOVENDEDOR SET NRSEQORCAEVE = '02' WHERE NRORCAEVENTO = '0000000173'");
  EXPECT_TRUE(Call(caller_, "Vd_ExistComisGerada", {kBranch, demo::kUndoCommissionBudget, "3306", "PARCIAL"}).asBool());
  EXPECT_FALSE(Call(caller_, "Vd_ExistComisGerada", {kBranch, demo::kUndoCommissionBudget, "3306", "TOTAL"}).asBool());
}

// --- the audit trail ---------------------------------------------------------------

TEST_P(Undo, EveryChangeWritesOneAuditRowWithWhoDidAndWhoApproved) {
  const char* budget = demo::kMainBudget;
  caller_.logIn("SUPERVISOR", "SUPERVISOR");
  Call(caller_, "Distrato",
       {kBranch, budget, "01", "1", "SUPERVISOR", "1001", Variant(2400.0), "", Variant(1600.0), Variant(-1600.0)});
  caller_.logIn("OPERADOR", "OPERADOR");
  ASSERT_TRUE(Confirm(caller_, "GERENTE", "GERENTE1"));
  UndoPartial(caller_, budget, "1001");

  const std::vector<AuditRow> rows = app_->auditTrail("");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].method, "DesfazerDistrato") << "newest first";
  EXPECT_EQ(rows[0].operatorCode, "OPERADOR") << "the connection's operator";
  EXPECT_EQ(rows[0].approver, "GERENTE");
  EXPECT_EQ(rows[0].party, "1001");
  EXPECT_EQ(rows[0].amounts, "parcial; negociado 1.600,00; multa 2.400,00; contas geradas removidas 0,00");
  EXPECT_EQ(rows[1].method, "Distrato");
  EXPECT_EQ(rows[1].operatorCode, "SUPERVISOR") << "the operator logged in then";
  EXPECT_EQ(rows[1].amounts, "negociado 1.600,00; multa 2.400,00; CNTPAGAR");
  EXPECT_EQ(rows[1].approver, "");

  EXPECT_TRUE(app_->auditTrail("2999-01-01").empty());
  EXPECT_EQ(app_->auditTrail(rows[0].when.substr(0, 10)).size(), 2u);
  const std::string table = FormatAuditTable(rows);
  EXPECT_EQ(table.substr(0, table.find('\n')).rfind("Data/hora (UTC)", 0), 0u);
  EXPECT_NE(table.find("OPERADOR    DesfazerDistrato"), std::string::npos) << table;
  EXPECT_EQ(FormatAuditTable({}), "Nenhuma alteração registrada.\n");
}

}  // namespace

namespace {

// Every other method that changes data writes its one row, named after it.
TEST_P(Undo, EachChangingMethodWritesItsRowAndARefusalWritesNone) {
  const Variant empty(DataPacket({{"CDCLIENTE", FieldType::String, 21}}));
  struct Step {
    const char* method;
    std::function<void(Undo&)> call;
    const char* party;
  } steps[] = {
      {"TransfCotas",
       [](Undo& t) {
         t.Call(t.caller_, "TransfCotas", {"0001", "0000000150", "3202", "3001", "SUPERVISOR", "S", Variant(15000.0),
                                           Variant(30.0), Variant(18.0), "01", "1", "001", "01"});
       },
       "3202"},
      {"SubstituirContratante",
       [](Undo& t) {
         t.Call(t.caller_, "SubstituirContratante",
                {"0001", "0000000150", "001", "3201", "1", "3101", "SUPERVISOR", "01", "01"});
       },
       "3201"},
      {"InsContratDistrato",
       [&](Undo& t) {
         Variant priced = t.Call(t.caller_, "ConfValTodosCont",
                                 {"0001", "0000000104", "SUPERVISOR", "01", empty, Variant(0.0), "N"});
         t.Call(t.caller_, "InsContratDistrato", {priced, "0001", "0000000104"});
       },
       ""},
      {"DistratoTotal",
       [&](Undo& t) {
         Variant priced = t.Call(t.caller_, "ConfValTodosCont",
                                 {"0001", "0000000104", "SUPERVISOR", "01", empty, Variant(0.0), "N"});
         t.Call(t.caller_, "DistratoTotal", {"0001", "0000000104", "SUPERVISOR", "01", empty, priced});
       },
       ""},
  };
  caller_.logIn("SUPERVISOR", "SUPERVISOR");
  std::size_t rows = 0;
  for (const Step& step : steps) {
    step.call(*this);
    const std::vector<AuditRow> trail = app_->auditTrail("");
    ASSERT_EQ(trail.size(), ++rows) << step.method;
    EXPECT_EQ(trail.front().method, step.method);
    EXPECT_EQ(trail.front().party, step.party) << step.method;
    EXPECT_FALSE(trail.front().amounts.empty()) << step.method;
  }
  // Nothing to delete, nothing changed: no row.
  Call(caller_, "DeletaFormaPgto", {"0001", "0000000104", "1023"});
  EXPECT_EQ(app_->auditTrail("").size(), rows);
  // Refused: the same transfer again writes no row.
  EXPECT_NE(Refusal([&] { steps[0].call(*this); }), "(no refusal)");
  EXPECT_EQ(app_->auditTrail("").size(), rows);
}

}  // namespace
