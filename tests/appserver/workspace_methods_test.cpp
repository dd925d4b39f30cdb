// The workspace's remote methods against the demo database.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "test_support.h"

namespace {

FieldDef X(const char* n, int size) { return {n, FieldType::FixedString, size}; }

// The client datasets' field lists, as the screen declares them.
const std::vector<FieldDef> kBudgetList = {S("NRORCAEVENTO", 10), X("NRSEQORCAEVE", 2), S("CDFILIAL", 4)};
const std::vector<FieldDef> kCompany = {S("CDEMPRESA", 2)};
const std::vector<FieldDef> kDetail = {S("IDUTILCUSTOFIXOORCA", 1), S("CDFILIAL", 4),   S("NRORCAEVENTO", 10),
                                       X("NRSEQORCAEVE", 2),        S("NMFANTCLIE", 50), S("CDVENDEDOR", 4)};
const std::vector<FieldDef> kBank = {S("CDREDUCONT", 3),  S("CDBANCO", 3),     S("CDAGENCIA", 5),
                                     S("CDCONTCORR", 20), S("DSCONTCORR", 20), S("CDCONTCTBL", 20),
                                     S("CDPICTCONT", 20), S("CDPICTAGEN", 10)};
const std::vector<FieldDef> kParty = {
    S("IDORIGEMINCLUSAO", 20), X("IDCONTPROCESDIST", 1), X("NRSEQORCAEVE", 2),    S("CDCLIENTE", 21),
    S("NRINSJURCLIE", 20),     S("IDTPIJURCLIE", 1),     S("NMFANTCLIE", 50),     F("VRRECECONTOREV"),
    S("IDSITUCONTOREV", 10),   S("NMCONTCLIORE", 30),    S("NRENDCLIORCEVE", 10), S("NMRAZSOCCLIE", 50),
    S("NMFANTSUB", 50),        S("IDTPIJURCLIESUB", 1),  S("NRINSJURCLIESUB", 20), S("CDCLICONTSUBORE", 21),
    S("IDTPDISTRATOREALI", 10), S("IDCHECK", 1),          S("IDCONTRESPCOTAORCA", 1), S("IDSITUORCEVE", 1),
    S("IDTRANSFCOTAREALI", 1)};
const std::vector<FieldDef> kReceivable = {
    S("NRSEQHISTRENEGO", 10), X("BAIXAREALREALI", 1), S("NRBAIXAREC", 10), S("CDTPBAIXAREC", 2),
    S("IDBAIXAREALIZADA", 1), X("IDORIGNFORCA", 1),  S("IDSTATBREC", 1),  S("NRCNABRECREM", 10),
    S("CDNOSNUMREC", 20),     S("DOCUMENTO", 26),    D("DTATUAVENREC"),   D("DTORIGVENREC"),
    S("NMRAZSOCCLIE", 50),    S("NRSEQVENREC", 2),   S("NRPARCELAREC", 2), S("IDSTATREC", 1),
    F("VRATUAREC"),           S("CDCONTCORR", 20),   S("NRLANCTONF", 10)};
const std::vector<FieldDef> kPayable = {
    D("DTATUAVENPAG"),     D("DTORIGVENPAG"),  S("NMRAZSOCFORN", 40), S("NRSEQVENPAG", 2), S("NRPARCELAPAG", 2),
    S("DOCUMENTO", 26),    S("IDSTATPAG", 1),  F("VRATUAPAG"),        S("NRLANCTONF", 10), S("IDSTATBPAG", 1),
    S("NRCNABPAGREM", 10), S("CDNOSNUMPAG", 20), X("IDORIGNFORCA", 1), S("IDBAIXAREALIZADA", 1)};

const char* kBranch = "0001";
const char* kBudget = "0000000101";

class WorkspaceMethodsTest : public ::testing::TestWithParam<Backend> {
 protected:
  const AppServer& app = DemoServer::Get(GetParam());

  Variant call(const std::string& method, std::vector<std::string> args) { return CallText(app, method, args); }
  DataPacket packet(const std::string& method, std::vector<std::string> args) {
    return call(method, std::move(args)).asPacket();
  }
  DataPacket parties(const std::string& budget = kBudget) { return packet("GetContratante", {kBranch, budget}); }

  // GetContas for a party of the main budget, as the screen asks it.
  Variant accounts(const std::string& client, const std::string& company = "01") {
    DataPacket list = parties();
    for (std::size_t i = 0; i < list.rowCount(); ++i) {
      if (list.at(i, "CDCLIENTE").asText() != client || list.at(i, "NRSEQORCAEVE").asText() != "01") continue;
      auto f = [&](const char* name) { return list.at(i, name).asText(); };
      return call("GetContas", {company, kBudget, f("NRSEQORCAEVE"), client, f("NRENDCLIORCEVE"),
                                f("IDCONTPROCESDIST"), f("IDORIGEMINCLUSAO"), f("IDTRANSFCOTAREALI"),
                                f("IDTPDISTRATOREALI")});
    }
    ADD_FAILURE() << "no party " << client;
    return {};
  }
};

INSTANTIATE_TEST_SUITE_P(Backends, WorkspaceMethodsTest, AllBackends(), BackendName);

TEST_P(WorkspaceMethodsTest, PacketsCarryExactlyTheDeclaredFields) {
  EXPECT_EQ(packet("GetPesqOrca", {kBranch}).fields, kBudgetList);
  EXPECT_EQ(packet("GetVdOrca", {kBranch, kBudget}).fields, kBudgetList);
  EXPECT_EQ(packet("GetEmpresaRelac", {kBranch, kBudget, ""}).fields, kCompany);
  EXPECT_EQ(call("DadosComp", {kBranch, kBudget, "seq"})[0].asPacket().fields, kDetail);
  EXPECT_EQ(packet("GetContCorr", {"01", "", ""}).fields, kBank);
  EXPECT_EQ(packet("GetContCorr", {"01", "1", "VD"}).fields, kBank);
  EXPECT_EQ(parties().fields, kParty);
  Variant acc = accounts("1005");
  EXPECT_EQ(acc[0].asPacket().fields, kReceivable);
  EXPECT_EQ(acc[2].asPacket().fields, kPayable);
  // Unknown keys answer empty packets of the same shape.
  EXPECT_EQ(parties("0000000999").fields, kParty);
  EXPECT_EQ(parties("0000000999").rowCount(), 0u);
}

TEST_P(WorkspaceMethodsTest, BudgetsAreLookedUpByBranch) {
  DataPacket all = packet("GetPesqOrca", {kBranch});
  EXPECT_EQ(Column(all, "NRORCAEVENTO"),
            (std::vector<std::string>{"0000000101", "0000000101", "0000000102", "0000000103", "0000000104",
                                      "0000000105", "0000000105", "0000000106", "0000000106", "0000000107",
                                      "0000000107", "0000000107", "0000000150", "0000000171", "0000000171",
                                      "0000000172", "0000000172", "0000000173", "0000000173", "0000000174",
                                      "0000000174"}));
  EXPECT_EQ(Column(all, "NRSEQORCAEVE"),
            (std::vector<std::string>{"01", "02", "01", "01", "01", "01", "02", "01", "02", "01", "02", "03", "01", "01",
                                      "02", "01", "02", "01", "02", "01", "02"}));
  EXPECT_EQ(packet("GetPesqOrca", {"1"}), all);  // typed code widened like the client does
  EXPECT_EQ(Column(packet("GetPesqOrca", {"0002"}), "NRORCAEVENTO"), std::vector<std::string>{"0000000201"});
  EXPECT_EQ(packet("GetPesqOrca", {"0009"}).rowCount(), 0u);
  EXPECT_EQ(packet("GetPesqOrca", {""}).rowCount(), 0u);
}

TEST_P(WorkspaceMethodsTest, BudgetValidationNeedsBranchAndNumber) {
  DataPacket found = packet("GetVdOrca", {kBranch, "101"});
  EXPECT_EQ(Column(found, "CDFILIAL"), (std::vector<std::string>{"0001", "0001"}));
  EXPECT_EQ(packet("GetVdOrca", {kBranch, "0000000201"}).rowCount(), 0u);  // another branch's budget
  EXPECT_EQ(packet("GetVdOrca", {kBranch, "0000000777"}).rowCount(), 0u);
}

TEST_P(WorkspaceMethodsTest, CompanyComesFromTheBudgetWhenRelatedToTheBranch) {
  EXPECT_EQ(Column(packet("GetEmpresaRelac", {kBranch, kBudget, ""}), "CDEMPRESA"), std::vector<std::string>{"01"});
  EXPECT_EQ(Column(packet("GetEmpresaRelac", {kBranch, kBudget, "02"}), "CDEMPRESA"),
            std::vector<std::string>{"01"});
  EXPECT_EQ(Column(packet("GetEmpresaRelac", {"0002", "0000000201", "01"}), "CDEMPRESA"),
            std::vector<std::string>{"02"});
  EXPECT_EQ(packet("GetEmpresaRelac", {kBranch, "0000000777", ""}).rowCount(), 0u);
}

TEST_P(WorkspaceMethodsTest, ComplementaryDataAndGrandTotal) {
  Variant result = call("DadosComp", {kBranch, kBudget, "seq"});
  const DataPacket& detail = result[0].asPacket();
  ASSERT_EQ(detail.rowCount(), 1u);
  EXPECT_EQ(detail.at(0, "NRSEQORCAEVE").asText(), "01");
  EXPECT_EQ(detail.at(0, "NMFANTCLIE").asText(), "Formatura Medicina UFRGS 2026");
  EXPECT_EQ(detail.at(0, "IDUTILCUSTOFIXOORCA").asText(), "S");

  double expected = 0;
  DataPacket list = parties();
  for (std::size_t i = 0; i < list.rowCount(); ++i)
    if (list.at(i, "IDSITUCONTOREV").asText() != "CANCELADO") expected += list.at(i, "VRRECECONTOREV").asDouble();
  ASSERT_TRUE(result[1].isText());
  EXPECT_DOUBLE_EQ(result[1].asDouble(), expected);
  EXPECT_NE(result[1].asText().find(','), std::string::npos);

  EXPECT_EQ(call("DadosComp", {kBranch, "0000000103", "seq"})[0].asPacket().at(0, "IDUTILCUSTOFIXOORCA").asText(),
            "N");
  Variant none = call("DadosComp", {kBranch, "0000000777", "seq"});
  EXPECT_EQ(none[0].asPacket().rowCount(), 0u);
  EXPECT_EQ(none[1].asText(), "0,00");
}

TEST_P(WorkspaceMethodsTest, BankAccountsSearchAndValidation) {
  EXPECT_EQ(Column(packet("GetContCorr", {"01", "", ""}), "CDREDUCONT"),
            (std::vector<std::string>{"001", "002", "003"}));
  EXPECT_EQ(Column(packet("GetContCorr", {"01", "3", ""}), "CDREDUCONT"), std::vector<std::string>{"003"});
  DataPacket two = packet("GetContCorr", {"01", "2", "VD"});
  ASSERT_EQ(two.rowCount(), 1u);
  EXPECT_EQ(two.at(0, "CDBANCO").asText(), "104");
  EXPECT_EQ(packet("GetContCorr", {"01", "004", "VD"}).rowCount(), 0u);  // another company's account
  EXPECT_EQ(packet("GetContCorr", {"02", "004", "VD"}).rowCount(), 1u);
  EXPECT_EQ(packet("GetContCorr", {"", "", ""}).rowCount(), 0u);
  EXPECT_THROW(call("GetContCorr", {"01", "1", "XX"}), std::runtime_error);
}

TEST_P(WorkspaceMethodsTest, PartiesOfEverySequenceWithTheirSubstitutes) {
  DataPacket list = parties();
  EXPECT_EQ(list.rowCount(), 13u);
  bool sawChild = false, sawSubstitute = false;
  for (std::size_t i = 0; i < list.rowCount(); ++i) {
    EXPECT_EQ(list.at(i, "IDSITUORCEVE").asText(), "3");
    if (list.at(i, "NRSEQORCAEVE").asText() == "02") sawChild = true;
    if (list.at(i, "CDCLIENTE").asText() == "1005") {
      sawSubstitute = true;
      EXPECT_EQ(list.at(i, "CDCLICONTSUBORE").asText(), "1006");
      EXPECT_EQ(list.at(i, "NMFANTSUB").asText(), "Fernando Augusto Brum");
      EXPECT_EQ(list.at(i, "IDTPIJURCLIESUB").asText(), "F");
      EXPECT_EQ(list.at(i, "NRINSJURCLIESUB").asText().size(), 11u);
    }
  }
  EXPECT_TRUE(sawChild);
  EXPECT_TRUE(sawSubstitute);
  EXPECT_EQ(Column(parties("0000000102"), "IDSITUORCEVE"), (std::vector<std::string>{"1", "1"}));
}

TEST_P(WorkspaceMethodsTest, AccountsOfAPartyAndItsSettledCount) {
  Variant ana = accounts("1001");
  EXPECT_EQ(Column(ana[0].asPacket(), "IDSTATREC"), (std::vector<std::string>{"B", "A", "A"}));
  EXPECT_EQ(ana[1].asInt(), 1);
  EXPECT_EQ(ana[2].asPacket().rowCount(), 0u);
  // Due dates come in order, so the first row is the earliest.
  const DataPacket& rec = ana[0].asPacket();
  EXPECT_LT(rec.at(0, "DTATUAVENREC").asDate(), rec.at(1, "DTATUAVENREC").asDate());

  Variant eduarda = accounts("1005");
  EXPECT_EQ(Column(eduarda[2].asPacket(), "IDSTATPAG").size(), 4u);
  EXPECT_EQ(eduarda[1].asInt(), 2);

  // Without the company that owns them, the accounts are not found.
  Variant wrongCompany = accounts("1001", "02");
  EXPECT_EQ(wrongCompany[0].asPacket().rowCount(), 0u);
  EXPECT_EQ(wrongCompany[1].asInt(), 0);
}

TEST_P(WorkspaceMethodsTest, CancelledAndTransferAccountsFollowThePartyState) {
  // In a rescission the cancelled receivables stay in view; otherwise not.
  EXPECT_EQ(Column(accounts("1003")[0].asPacket(), "IDSTATREC"), (std::vector<std::string>{"B", "C", "C"}));
  EXPECT_EQ(Column(accounts("1012")[0].asPacket(), "IDSTATREC"), std::vector<std::string>{"B"});

  // Quota-transfer accounts are shown to a party that took part in one.
  Variant helena = accounts("1008");
  EXPECT_EQ(Column(helena[0].asPacket(), "IDORIGNFORCA"), (std::vector<std::string>{"G", "F"}));
  Variant asPlain = call("GetContas", {"01", kBudget, "01", "1008", "1", "N", "ORCAMENTO", "N", ""});
  EXPECT_EQ(Column(asPlain[0].asPacket(), "IDORIGNFORCA"), std::vector<std::string>{"F"});
}

TEST_P(WorkspaceMethodsTest, CommandFlagsFollowPartiesAndParameters) {
  auto flags = [&](const char* branch, const char* budget, const char* client, const std::string& sub = "") {
    std::vector<bool> out;
    Variant answer = call("GetExisContOrca", {branch, budget, "01", sub, client});
    for (const Variant& v : answer.asArray()) out.push_back(v.asBool());
    return out;
  };
  EXPECT_EQ(flags(kBranch, kBudget, "1001"), (std::vector<bool>{true, true, true, true, true}));
  EXPECT_EQ(flags(kBranch, kBudget, "1009"), (std::vector<bool>{true, true, true, true, false}));
  EXPECT_EQ(flags(kBranch, "0000000103", "1018"), (std::vector<bool>{false, true, true, true, true}));
  EXPECT_EQ(flags("0002", "0000000201", "1021"), (std::vector<bool>{false, false, true, false, true}));

  // A typed substitute must be another registered client.
  std::string anaCpf, brunoCpf;
  DataPacket list = parties();
  for (std::size_t i = 0; i < list.rowCount(); ++i) {
    if (list.at(i, "CDCLIENTE").asText() == "1001") anaCpf = list.at(i, "NRINSJURCLIE").asText();
    if (list.at(i, "CDCLIENTE").asText() == "1002") brunoCpf = list.at(i, "NRINSJURCLIE").asText();
  }
  EXPECT_TRUE(flags(kBranch, kBudget, "1001", brunoCpf)[3]);
  EXPECT_FALSE(flags(kBranch, kBudget, "1001", anaCpf)[3]);
  EXPECT_FALSE(flags(kBranch, kBudget, "1001", "00000000000")[3]);

  EXPECT_TRUE(call("NovoContratante", {kBranch, kBudget, "01", "1008"}).asBool());
  EXPECT_FALSE(call("NovoContratante", {kBranch, kBudget, "01", "1001"}).asBool());
  EXPECT_FALSE(call("NovoContratante", {kBranch, kBudget, "01", ""}).asBool());
}

TEST_P(WorkspaceMethodsTest, EveryMethodChecksItsArguments) {
  std::vector<Variant> one{Variant("0001")};
  EXPECT_THROW(app.call("GetVdOrca", one), std::runtime_error);
  try {
    app.call("GetVdOrca", one);
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "GetVdOrca espera 2 argumentos, recebeu 1.");
  }
  const std::map<std::string, std::size_t> counts = {
      {"GetPesqOrca", 1}, {"GetVdOrca", 2}, {"GetEmpresaRelac", 3}, {"DadosComp", 3},       {"GetContCorr", 3},
      {"GetContratante", 2}, {"GetContas", 9}, {"GetExisContOrca", 5}, {"NovoContratante", 4}};
  for (const auto& [name, n] : counts) {
    std::vector<Variant> args(n + 1, Variant(""));
    EXPECT_THROW(app.call(name, args), std::runtime_error) << name;
    std::vector<Variant> packets(n, Variant(DataPacket()));
    EXPECT_THROW(app.call(name, packets), std::runtime_error) << name;
  }
}

}  // namespace
