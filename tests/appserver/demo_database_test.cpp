// The demo database puts parties in every state the workspace's commands
// depend on, and the benchmark budget has the size asked for.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "test_support.h"

namespace {

// What the screen's command table makes of one party with a loaded list and
// nothing being edited, under each rescission type.
struct Commands {
  bool locked = false;
  bool partialAllowed = false;  // rbtParcial enabled
  bool search = false;
  bool rescindPartial = false, rescindTotal = false;
  bool substitute = false;
  bool consolidate = false;
  bool undo = false;
};

struct PartyView {
  std::string sit, proc;
  Commands cmd;
};

std::vector<PartyView> EvaluateBudget(const AppServer& app, const std::string& branch, const std::string& budget) {
  std::vector<PartyView> out;
  std::string company = CallText(app, "GetEmpresaRelac", {branch, budget, ""}).asPacket().at(0, "CDEMPRESA").asText();
  std::string fixedCost =
      CallText(app, "DadosComp", {branch, budget, "seq"})[0].asPacket().at(0, "IDUTILCUSTOFIXOORCA").asText();
  DataPacket list = CallText(app, "GetContratante", {branch, budget}).asPacket();
  for (std::size_t i = 0; i < list.rowCount(); ++i) {
    auto f = [&](const char* name) { return list.at(i, name).asText(); };
    Variant acc = CallText(app, "GetContas", {company, budget, f("NRSEQORCAEVE"), f("CDCLIENTE"), f("NRENDCLIORCEVE"),
                                              f("IDCONTPROCESDIST"), f("IDORIGEMINCLUSAO"), f("IDTRANSFCOTAREALI"),
                                              f("IDTPDISTRATOREALI")});
    const DataPacket& rec = acc[0].asPacket();
    bool baixa = rec.rowCount() > 0 && rec.at(0, "IDBAIXAREALIZADA").asText() == "S";
    Variant flags = CallText(app, "GetExisContOrca",
                             {branch, budget, f("NRSEQORCAEVE"), f("NRINSJURCLIESUB"), f("CDCLIENTE")});
    bool F[5];
    for (int k = 0; k < 5; ++k) F[k] = flags[static_cast<std::size_t>(k)].asBool();

    PartyView v{f("IDSITUCONTOREV"), f("IDCONTPROCESDIST"), {}};
    std::string sitorc = f("IDSITUORCEVE");
    Commands& c = v.cmd;
    if (!sitorc.empty() && sitorc != "3") {
      c.locked = true;
      c.search = true;
      out.push_back(v);
      continue;
    }
    bool sub = !f("NRINSJURCLIESUB").empty();
    bool subcode = !f("CDCLICONTSUBORE").empty();
    bool newOk = true;
    if (!sub && F[0])
      newOk = !CallText(app, "NovoContratante", {branch, budget, f("NRSEQORCAEVE"), f("CDCLIENTE")}).asBool();
    c.partialAllowed = fixedCost != "N";
    c.search = v.proc != "S";
    c.rescindPartial =
        c.partialAllowed && v.proc != "S" && !sub && newOk && !baixa && v.sit == "CNTGERADA" && F[4];
    c.rescindTotal = v.proc == "N";
    c.substitute =
        c.partialAllowed && v.proc != "S" && (c.rescindPartial == F[4]) && F[3] && v.sit == "CNTGERADA";
    c.consolidate = v.sit == "CANCELADO" && v.proc == "S" && !sub && !(!F[1] && baixa) && !(!F[2] && baixa);
    c.undo = v.sit == "CANCELADO" && v.proc == "C" && !subcode;
    out.push_back(v);
  }
  return out;
}

std::vector<PartyView> EveryDemoParty(const AppServer& app) {
  std::vector<PartyView> all;
  for (const char* branch : {"0001", "0002"}) {
    std::set<std::string> budgets;
    for (const std::string& b : Column(CallText(app, "GetPesqOrca", {branch}).asPacket(), "NRORCAEVENTO"))
      budgets.insert(b);
    for (const std::string& b : budgets) {
      auto views = EvaluateBudget(app, branch, b);
      all.insert(all.end(), views.begin(), views.end());
    }
  }
  return all;
}

// Every command can be seen on and off, each among the parties where its
// other conditions make the difference.
TEST(DemoDatabaseTest, EveryCommandIsSeenBothOnAndOff) {
  std::vector<PartyView> all = EveryDemoParty(DemoServer::Get());
  std::map<std::string, std::set<bool>> seen;
  for (const PartyView& v : all) {
    const Commands& c = v.cmd;
    seen["locked budget"].insert(c.locked);
    if (c.locked) continue;
    seen["partial type"].insert(c.partialAllowed);
    seen["search"].insert(c.search);
    seen["rescission, total"].insert(c.rescindTotal);
    if (v.sit == "CNTGERADA" && v.proc == "N") {
      seen["rescission, partial"].insert(c.rescindPartial);
      seen["substitution"].insert(c.substitute);
    }
    if (v.sit == "CANCELADO" && v.proc == "S") seen["consolidation"].insert(c.consolidate);
    if (v.sit == "CANCELADO" && v.proc == "C") seen["undo"].insert(c.undo);
  }
  for (const char* name : {"locked budget", "partial type", "search", "rescission, total", "rescission, partial",
                           "substitution", "consolidation", "undo"})
    EXPECT_EQ(seen[name], (std::set<bool>{false, true})) << name;
}

TEST(DemoDatabaseTest, PartiesShowEverySituationAndAccountColour) {
  const AppServer& app = DemoServer::Get();
  std::set<std::string> situations, processes;
  for (const PartyView& v : EveryDemoParty(app)) {
    situations.insert(v.sit);
    processes.insert(v.proc);
  }
  EXPECT_EQ(situations, (std::set<std::string>{"LANCADO", "CNTGERADA", "DEVOLVIDO", "CANCELADO"}));
  EXPECT_EQ(processes, (std::set<std::string>{"N", "S", "C"}));

  // The receivable colour rules: (boleto, origin, deleted real settlement).
  std::set<std::string> colours;
  DataPacket list = CallText(app, "GetContratante", {"0001", "0000000101"}).asPacket();
  for (std::size_t i = 0; i < list.rowCount(); ++i) {
    auto f = [&](const char* name) { return list.at(i, name).asText(); };
    DataPacket rec = CallText(app, "GetContas", {"01", "0000000101", f("NRSEQORCAEVE"), f("CDCLIENTE"),
                                                 f("NRENDCLIORCEVE"), f("IDCONTPROCESDIST"), f("IDORIGEMINCLUSAO"),
                                                 f("IDTRANSFCOTAREALI"), f("IDTPDISTRATOREALI")})[0]
                         .asPacket();
    for (std::size_t r = 0; r < rec.rowCount(); ++r) {
      std::string boleto = rec.at(r, "IDSTATBREC").asText(), origin = rec.at(r, "IDORIGNFORCA").asText();
      bool rescission = origin == "T" || origin == "I";
      if (boleto == "E" && rescission) colours.insert("blue");
      else if (rescission) colours.insert("purple");
      else if (boleto == "E") colours.insert("green");
      else if (boleto == "A" && origin == "F" && rec.at(r, "BAIXAREALREALI").asText() == "S") colours.insert("teal");
      else if (boleto == "A" && origin == "G") colours.insert("fuchsia");
      else colours.insert("default");
    }
  }
  EXPECT_EQ(colours, (std::set<std::string>{"blue", "purple", "green", "teal", "fuchsia", "default"}));
}

TEST(DemoDatabaseTest, HostBranchStatementsAndSupervisorPassword) {
  ScratchDir dir;
  WriteDemoDatabase(dir.file("d.db"), 0);
  Database db(dir.file("d.db"));
  Statement branches = db.prepare("SELECT CDFILIAL, NMFILIAL\n  FROM FILIAL\n ORDER BY CDFILIAL");
  std::vector<std::string> codes;
  while (branches.step()) codes.push_back(branches.text(0));
  EXPECT_EQ(codes, (std::vector<std::string>{"0001", "0002", "0003"}));

  Statement op = db.prepare("SELECT CDSENHOPER, IDPAPEL FROM OPERADOR WHERE CDOPERADOR = ?1");
  op.bind(1, demo::kSupervisor);
  ASSERT_TRUE(op.step());
  EXPECT_TRUE(OperatorPasswordMatches(demo::kSupervisorPassword, op.text(0)));
  EXPECT_FALSE(OperatorPasswordMatches("SENHA", op.text(0)));
  EXPECT_EQ(op.text(1), "SUPERVISOR");
}

// Every branch works on the demo's business day, and moving the demo moves
// every date it holds by the same days, so its screens look the same.
TEST(DemoDatabaseTest, EveryDateFollowsTheBusinessDay) {
  ScratchDir dir;
  constexpr double kDefaultDay = 46364;  // 08/12/2026
  constexpr double kMoved = 47908;       // 01/03/2031
  WriteDemoDatabase(dir.file("today.db"), 0);
  WriteDemoDatabase(dir.file("moved.db"), 0, kMoved);
  Database today(dir.file("today.db")), moved(dir.file("moved.db"));
  auto column = [](Database& db, const std::string& sql) {
    std::vector<double> values;
    Statement st = db.prepare(sql);
    while (st.step()) values.push_back(st.real(0));
    return values;
  };
  EXPECT_EQ(column(today, "SELECT DTPROCESSAMENTO FROM FILIAL"), std::vector<double>(3, kDefaultDay));
  EXPECT_EQ(column(moved, "SELECT DTPROCESSAMENTO FROM FILIAL"), std::vector<double>(3, kMoved));
  const char* dates[] = {
      "SELECT DTORCAMENTO FROM ORCAEVENTO ORDER BY NRORCAEVENTO, NRSEQORCAEVE",
      "SELECT DTEVENTO FROM ORCAEVENTO ORDER BY NRORCAEVENTO, NRSEQORCAEVE",
      "SELECT DTATUAVENREC FROM CONTARECEBER ORDER BY NRLANCTONF, NRPARCELAREC, NRSEQVENREC",
      "SELECT DTORIGVENPAG FROM CONTAPAGAR ORDER BY NRLANCTONF, NRPARCELAPAG, NRSEQVENPAG",
      "SELECT DTBAIXAREC FROM BAIXAREC ORDER BY NRLANCTONF, NRPARCELAREC, NRSEQVENREC, NRBAIXAREC",
  };
  for (const char* sql : dates) {
    std::vector<double> expected = column(today, sql);
    ASSERT_FALSE(expected.empty()) << sql;
    for (double& d : expected) d += kMoved - kDefaultDay;
    EXPECT_EQ(column(moved, sql), expected) << sql;
  }
}

// The rescissions the demo makes through the server's methods hold what
// those methods record: the values, the child budget carrying the party, the
// accounts a consolidation generated; and they leave no trail and no review.
TEST(DemoDatabaseTest, RescissionsMadeByTheMethodsHoldWhatTheyRecord) {
  ScratchDir dir;
  WriteDemoDatabase(dir.file("d.db"), 0);
  Database db(dir.file("d.db"));
  auto count = [&db](const std::string& sql, const std::vector<std::string>& values) {
    Statement st = db.prepare(sql);
    for (std::size_t i = 0; i < values.size(); ++i) st.bind(static_cast<int>(i + 1), values[i]);
    st.step();
    return st.integer(0);
  };
  struct Case {
    const char* budget;
    const char* seq;
    const char* client;
    const char* address;
    const char* child;    // the sequence carrying the rescission
    const char* process;  // S recorded, C consolidated
    const char* origin;   // of the generated account; "" when none yet
  } cases[] = {
      {demo::kTotalInProcessBudget, "01", "1027", "1", "02", "S", ""},
      {demo::kTotalInProcessBudget, "01", "1028", "1", "02", "S", ""},
      {demo::kTotalInProcessBudget, "01", "1028", "2", "02", "S", ""},
      {demo::kUnapprovedChildBudget, "01", "1029", "1", "02", "S", ""},
      {demo::kSecondSequenceBudget, "02", "1031", "1", "03", "S", ""},
      {demo::kUndoPartialBudget, "01", "3301", "1", "02", "C", "I"},
      {demo::kUndoTotalBudget, "01", "3303", "1", "02", "C", "T"},
      {demo::kUndoTotalBudget, "01", "3303", "2", "02", "C", "T"},
      {demo::kUndoTotalBudget, "01", "3304", "1", "02", "C", "T"},
      {demo::kUndoCommissionBudget, "01", "3305", "1", "02", "C", "I"},
      {demo::kUndoSettledBudget, "01", "3307", "1", "02", "C", "I"},
  };
  for (const Case& c : cases) {
    const std::string party = std::string(c.budget) + "/" + c.seq + "/" + c.client + "/" + c.address;
    const std::vector<std::string> key{demo::kBranch, c.budget, c.seq, c.client, c.address};
    const char* where =
        " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5";
    EXPECT_EQ(count(std::string("SELECT COUNT(*) FROM CONTRATANTE") + where +
                        " AND IDSITUCONTOREV = 'CANCELADO' AND IDCONTPROCESDIST = '" + c.process + "'",
                    key),
              1)
        << party;
    EXPECT_EQ(count(std::string("SELECT COUNT(*) FROM DISTRATOPARCIAL") + where + " AND NRSEQORCAEVEFILHO = '" +
                        c.child + "' AND IDSITUCONTOREVANT = 'CNTGERADA'",
                    key),
              1)
        << party;
    EXPECT_EQ(count("SELECT COUNT(*) FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
                    "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGEMINCLUSAO = 'DISTRATO'"
                    "   AND IDCONTPROCESDIST = ?6",
                    {demo::kBranch, c.budget, c.child, c.client, c.address, c.process}),
              1)
        << party;
    // One account in one installment, of the consolidation's origin; none
    // before a consolidation.
    std::vector<std::string> generatedKey = key;
    if (*c.origin) generatedKey.push_back(c.origin);
    const std::string generated = std::string(" WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3") +
                                  " AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5" +
                                  (*c.origin ? " AND IDORIGNFORCA = ?6" : " AND IDORIGNFORCA IN ('I', 'T')");
    const std::int64_t accounts = count("SELECT COUNT(*) FROM CONTARECEBER" + generated, generatedKey) +
                                  count("SELECT COUNT(*) FROM CONTAPAGAR" + generated, generatedKey);
    EXPECT_EQ(accounts, *c.origin ? 1 : 0) << party;
  }
  EXPECT_EQ(count("SELECT COUNT(*) FROM AUDITORIA", {}), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CONTRATDISTRATO", {}) + count("SELECT COUNT(*) FROM FORMAPGTO", {}), 0);
  // Approvals and settlements are other systems' work, written afterwards.
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAEVENTO WHERE NRORCAEVENTO = ?1 AND IDORCAAPROVADO = 'N'",
                  {demo::kUnapprovedChildBudget}),
            1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM CONTARECEBER WHERE NRORCAEVENTO = ?1 AND IDORIGNFORCA = 'I' AND IDSTATREC = 'B'",
                  {demo::kUndoSettledBudget}),
            1);
}

TEST(DemoDatabaseTest, RewritingStartsOverAndAddsTheBulkBudget) {
  ScratchDir dir;
  std::string path = dir.file("bulk.db");
  WriteDemoDatabase(path, 0);
  WriteDemoDatabase(path, 30);  // recreates: no duplicate-key failure
  AppServer app(path);
  DataPacket list = CallText(app, "GetContratante", {"0001", demo::kBulkBudget}).asPacket();
  ASSERT_EQ(list.rowCount(), 30u);
  for (std::size_t i = 0; i < list.rowCount(); ++i) {
    Variant acc = CallText(app, "GetContas", {"01", demo::kBulkBudget, "01", list.at(i, "CDCLIENTE").asText(), "1",
                                              "N", "ORCAMENTO", "N", ""});
    EXPECT_EQ(acc[0].asPacket().rowCount(), 12u);
    EXPECT_EQ(acc[1].asInt(), 4);
  }
  EXPECT_EQ(CallText(app, "GetContratante", {"0001", demo::kMainBudget}).asPacket().rowCount(), 13u);
}

}  // namespace
