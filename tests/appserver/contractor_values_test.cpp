// The contractor-values working set: InsContratDistrato, GetContratDistrato,
// GetFormaPgto, DeletaFormaPgto and SetConfirmar against a demo database of
// each test's own, since they write.

#include <gtest/gtest.h>

#include "data/formats.h"
#include "methods/contractor_values_packets.h"
#include "net/refusal.h"
#include "storage/database.h"
#include "test_support.h"

namespace {

// How a caller's codes name a contract of the review: by client, narrowed by
// sequence and address; by substitute only where asked; a client of several
// contracts must be named whole.
TEST(ContractLookupTest, NamesTheContractACallerMeans) {
  using working_set_store::ReviewedContract;
  const std::vector<ReviewedContract> set{{{"01", "1005", "1"}, "1006"}, {{"02", "1002", "1"}, ""},
                                          {{"01", "1001", "1"}, ""},     {{"01", "1007", "1"}, "1007"},
                                          {{"01", "1002", "1"}, ""}};
  const contractor_packets::ContractLookup lookup(set);
  struct Case {
    const char *code, *seq, *address;
    bool bySubstitute;
    const char* found;  // the key's text; "" for none
  } cases[] = {
      {"1001", "", "", false, "01|1001|1"}, {"1001", "02", "", false, ""},       {"1002", "02", "", false, "02|1002|1"},
      {"1002", "01", "1", false, "01|1002|1"}, {"1006", "", "", false, ""},      {"1006", "", "", true, "01|1005|1"},
      {"1007", "", "", true, "01|1007|1"},  {"9999", "", "", true, ""},         {"1005", "", "2", false, ""},
  };
  for (const Case& c : cases) {
    const std::optional<PartyKey> key = lookup.find(c.code, c.seq, c.address, c.bySubstitute);
    EXPECT_EQ(key ? key->text() : "", c.found) << c.code << " seq '" << c.seq << "' by substitute " << c.bySubstitute;
  }
  EXPECT_THROW(lookup.find("1002", "", "", false), Refusal);
}

const char* kBranch = "0001";
const char* kBudget = "0000000101";

DataPacket PlanPacket() {
  return DataPacket({D("DTVENCIMENTO"), S("CDFILIAL", 4), S("NRORCAEVENTO", 10), S("CDCLIENTE", 21), F("VRPARCELA")});
}

class ContractorValues : public ::testing::TestWithParam<Backend> {
 protected:
  ContractorValues() {
    WriteDemoDatabase(target_, 0);
    app_ = std::make_unique<AppServer>(target_);
  }

  // The parties as ConfValTodosCont hands them: the budget's first three
  // parties with a calculated value each.
  DataPacket Sent(std::vector<std::string> clients = {"1001", "1002", "1003"}) {
    DataPacket p({F("VRORIGREC"), F("VRPERCMULTA"), F("VRMULTA"), S("GERACTPAGAR", 20), F("VRORIGRECNOEDIT"),
                  S("CDCLIENTE", 21), S("ERRO", 100), S("ERRORENEGFIN", 25)});
    double v = 1000;
    for (auto& c : clients) {
      p.addRow({Variant(v), Variant(10.0), Variant(v / 10), Variant("CNTPAGAR"), Variant(v), Variant(c), Variant(""),
                Variant("")});
      v += 1000;
    }
    return p;
  }

  Variant Call(const std::string& method, std::vector<Variant> args) { return app_->call(method, args); }
  DataPacket Ins(const DataPacket& sent) { return Call("InsContratDistrato", {Variant(sent), kBranch, kBudget}).asPacket(); }
  DataPacket Parties() { return Call("GetContratDistrato", {kBranch, kBudget}).asPacket(); }
  DataPacket Plan(const std::string& client) { return Call("GetFormaPgto", {kBranch, kBudget, client}).asPacket(); }

  ScratchDir dir_;
  std::string target_ = FreshDatabase(GetParam(), dir_);
  std::unique_ptr<AppServer> app_;
};

INSTANTIATE_TEST_SUITE_P(Backends, ContractorValues, AllBackends(), BackendName);

std::size_t RowOf(const DataPacket& p, const std::string& client) {
  for (std::size_t i = 0; i < p.rowCount(); ++i)
    if (p.at(i, "CDCLIENTE").asText() == client) return i;
  throw std::runtime_error("no row for " + client);
}

TEST_P(ContractorValues, InsContratDistratoStoresThePartiesAndAnswersThem) {
  std::vector<Variant> args{Variant(Sent()), kBranch, kBudget};
  DataPacket stored = app_->call("InsContratDistrato", args).asPacket();
  ASSERT_EQ(stored.rowCount(), 3u);
  EXPECT_EQ(stored.fieldIndex("NMFANTCLIE") >= 0, true);
  std::size_t r = RowOf(stored, "1002");
  EXPECT_DOUBLE_EQ(stored.at(r, "VRORIGREC").asDouble(), 2000.0);
  EXPECT_EQ(stored.at(r, "GERACTPAGAR").asText(), "CNTPAGAR");
  EXPECT_EQ(stored.at(r, "IDTPFORMAPGTO").asText(), "E");
  EXPECT_FALSE(stored.at(r, "NMFANTCLIE").asText().empty());
  // The by-reference packet comes back as stored.
  EXPECT_EQ(args[0].asPacket(), stored);
  EXPECT_EQ(Parties(), stored);
}

// 1005's contract has 1006 as its substitute; 1001's has none.
TEST_P(ContractorValues, EachPartyShowsItsOwnSubstituteAndNoOther) {
  for (const DataPacket& answered : {Ins(Sent({"1001", "1005"})), Parties()}) {
    const std::size_t substituted = RowOf(answered, "1005"), plain = RowOf(answered, "1001");
    EXPECT_EQ(answered.at(substituted, "CDCLICONTSUBORE").asText(), "1006");
    EXPECT_EQ(answered.at(substituted, "NMFANTCLIESUB").asText(), "Fernando Augusto Brum");
    EXPECT_EQ(answered.at(substituted, "IDTPIJURCLIESUB").asText(), "F");
    EXPECT_EQ(answered.at(substituted, "NRINSJURCLISUB").asText().size(), 11u);
    for (const char* field : {"CDCLICONTSUBORE", "NMFANTCLIESUB", "IDTPIJURCLIESUB", "NRINSJURCLISUB"})
      EXPECT_EQ(answered.at(plain, field).asText(), "") << field;
  }
}

TEST_P(ContractorValues, InsContratDistratoKeepsWhatWasConfirmedAndDropsPartiesNoLongerSent) {
  Ins(Sent());
  DataPacket confirmed = Parties();
  std::size_t r = RowOf(confirmed, "1001");
  confirmed.rows[r][confirmed.fieldIndex("VRORIGREC")] = Variant(900.0);
  confirmed.rows[r][confirmed.fieldIndex("IDTPFORMAPGTO")] = Variant("F");
  confirmed.rows[r][confirmed.fieldIndex("NRDIAPGTOFIXO")] = Variant(15.0);
  confirmed.rows[r][confirmed.fieldIndex("NRPARCELAS")] = Variant(3.0);
  confirmed.rows[r][confirmed.fieldIndex("IDMESINIPGTO")] = Variant("P");
  Call("SetConfirmar", {Variant(confirmed), Variant(PlanPacket()), kBranch, kBudget});

  DataPacket again = Ins(Sent({"1001", "1002"}));
  ASSERT_EQ(again.rowCount(), 2u);
  r = RowOf(again, "1001");
  EXPECT_DOUBLE_EQ(again.at(r, "VRORIGREC").asDouble(), 900.0);
  EXPECT_EQ(again.at(r, "IDTPFORMAPGTO").asText(), "F");
  EXPECT_DOUBLE_EQ(again.at(r, "NRDIAPGTOFIXO").asDouble(), 15.0);
  EXPECT_EQ(again.at(r, "IDMESINIPGTO").asText(), "P");
}

// A review resumed with its parties in another order, one of them new and
// one no longer sent, ends as if sent in the order it was stored.
TEST_P(ContractorValues, InsContratDistratoResumesWhateverTheOrderOfTheParties) {
  Ins(Sent());
  DataPacket confirmed = Parties();
  confirmed.rows[RowOf(confirmed, "1002")][confirmed.fieldIndex("VRORIGREC")] = Variant(900.0);
  Call("SetConfirmar", {Variant(confirmed), Variant(PlanPacket()), kBranch, kBudget});

  const DataPacket stored = Ins(Sent({"1004", "1003", "1002"}));
  EXPECT_EQ(Parties(), stored);
  ASSERT_EQ(stored.rowCount(), 3u);
  EXPECT_THROW(RowOf(stored, "1001"), std::runtime_error);
  const struct {
    const char* client;
    double calculated, negotiated;
  } expected[] = {{"1004", 1000, 1000}, {"1003", 2000, 3000}, {"1002", 3000, 900}};
  for (const auto& e : expected) {
    SCOPED_TRACE(e.client);
    const std::size_t r = RowOf(stored, e.client);
    EXPECT_DOUBLE_EQ(stored.at(r, "VRORIGRECNOEDIT").asDouble(), e.calculated);
    EXPECT_DOUBLE_EQ(stored.at(r, "VRORIGREC").asDouble(), e.negotiated);
  }
}

// Resuming a review rewrites only what changed; each computed column that
// changed must still reach the working set.
TEST_P(ContractorValues, InsContratDistratoRefreshesEachComputedValueThatChanged) {
  const std::vector<std::pair<const char*, Variant>> changes = {
      {"VRORIGRECNOEDIT", Variant(1500.0)}, {"VRPERCMULTA", Variant(12.5)}, {"VRMULTA", Variant(7.0)},
      {"GERACTPAGAR", Variant("CNTRECEBER")}, {"ERRO", Variant("sem faixa")},
      {"ERRORENEGFIN", Variant("renegociado")},
  };
  // ERRORENEGFIN comes back padded to its width.
  auto text = [](const DataPacket& p, std::size_t row, const char* field) {
    std::string t = p.at(row, field).asText();
    return t.erase(t.find_last_not_of(' ') + 1);
  };
  for (const auto& [field, value] : changes) {
    SCOPED_TRACE(field);
    Ins(Sent());
    DataPacket sent = Sent();
    sent.rows[RowOf(sent, "1001")][sent.fieldIndex(field)] = value;
    const DataPacket stored = Ins(sent);
    EXPECT_EQ(text(stored, RowOf(stored, "1001"), field), value.asText());
    EXPECT_EQ(Parties(), stored);
    EXPECT_EQ(text(stored, RowOf(stored, "1002"), field), text(Sent(), RowOf(Sent(), "1002"), field));
  }
}

TEST_P(ContractorValues, InsContratDistratoRefusesAPartyOutsideTheBudget) {
  Ins(Sent());
  EXPECT_THROW(Ins(Sent({"1001", "9999"})), std::exception);
  EXPECT_EQ(Parties().rowCount(), 3u);  // nothing half-written
  EXPECT_THROW(Call("InsContratDistrato", {Variant("x"), kBranch, kBudget}), std::exception);
}

TEST_P(ContractorValues, SetConfirmarStoresPartiesAndPlanTogether) {
  Ins(Sent());
  DataPacket parties = Parties();
  std::size_t r = RowOf(parties, "1002");
  parties.rows[r][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  DataPacket plan = PlanPacket();
  plan.addRow({Variant(EncodeDate(2027, 1, 10)), kBranch, kBudget, "1002", Variant(1000.0)});
  plan.addRow({Variant(EncodeDate(2027, 2, 10)), kBranch, kBudget, "1002", Variant(1000.0)});
  DataPacket answer = Call("SetConfirmar", {Variant(parties), Variant(plan), kBranch, kBudget}).asPacket();
  EXPECT_EQ(answer.at(RowOf(answer, "1002"), "IDTPFORMAPGTO").asText(), "V");
  DataPacket stored = Plan("1002");
  ASSERT_EQ(stored.rowCount(), 2u);
  EXPECT_EQ(stored.at(0, "DTVENCIMENTO").asDate(), EncodeDate(2027, 1, 10));
  EXPECT_DOUBLE_EQ(stored.at(1, "VRPARCELA").asDouble(), 1000.0);
  EXPECT_TRUE(Plan("1001").rows.empty());

  // A second confirmation replaces the plan, it does not add to it.
  DataPacket one = PlanPacket();
  one.addRow({Variant(EncodeDate(2027, 3, 1)), kBranch, kBudget, "1002", Variant(2000.0)});
  Call("SetConfirmar", {Variant(parties), Variant(one), kBranch, kBudget});
  EXPECT_EQ(Plan("1002").rowCount(), 1u);
}

TEST_P(ContractorValues, SetConfirmarIsAtomic) {
  Ins(Sent());
  DataPacket parties = Parties();
  std::size_t r = RowOf(parties, "1001");
  parties.rows[r][parties.fieldIndex("VRORIGREC")] = Variant(555.0);
  parties.rows[RowOf(parties, "1002")][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  // The plan's sum differs from 1002's negotiated value: the whole call is
  // refused, including 1001's change that came before it.
  DataPacket plan = PlanPacket();
  plan.addRow({Variant(EncodeDate(2027, 1, 10)), kBranch, kBudget, "1002", Variant(1500.0)});
  EXPECT_THROW(Call("SetConfirmar", {Variant(parties), Variant(plan), kBranch, kBudget}), std::exception);
  DataPacket after = Parties();
  EXPECT_DOUBLE_EQ(after.at(RowOf(after, "1001"), "VRORIGREC").asDouble(), 1000.0);
  EXPECT_EQ(after.at(RowOf(after, "1002"), "IDTPFORMAPGTO").asText(), "E");
  EXPECT_TRUE(Plan("1002").rows.empty());
}

TEST_P(ContractorValues, SetConfirmarRefusesBadInput) {
  Ins(Sent());
  DataPacket parties = Parties();
  auto refused = [&](DataPacket p, DataPacket plan) {
    EXPECT_THROW(Call("SetConfirmar", {Variant(p), Variant(plan), kBranch, kBudget}), std::exception);
  };
  DataPacket bad = parties;
  bad.rows[0][bad.fieldIndex("VRORIGREC")] = Variant(1e10);
  refused(bad, PlanPacket());
  bad = parties;
  bad.rows[0][bad.fieldIndex("VRORIGREC")] = Variant(-1.0);
  refused(bad, PlanPacket());
  bad = parties;
  bad.rows[0][bad.fieldIndex("IDTPFORMAPGTO")] = Variant("X");
  refused(bad, PlanPacket());
  bad = parties;
  bad.rows[0][bad.fieldIndex("IDTPFORMAPGTO")] = Variant("F");
  bad.rows[0][bad.fieldIndex("NRDIAPGTOFIXO")] = Variant(32.0);
  refused(bad, PlanPacket());
  DataPacket undated = PlanPacket();
  undated.addRow({Variant(), kBranch, kBudget, "1001", Variant(1000.0)});
  refused(parties, undated);
  DataPacket stranger = PlanPacket();
  stranger.addRow({Variant(EncodeDate(2027, 1, 1)), kBranch, kBudget, "7777", Variant(1.0)});
  refused(parties, stranger);
  EXPECT_EQ(Parties(), parties);
}

TEST_P(ContractorValues, DeletaFormaPgtoEmptiesOnlyThatPartysPlan) {
  Ins(Sent());
  DataPacket parties = Parties();
  // Installments belong to parties in the variable mode only.
  parties.rows[RowOf(parties, "1001")][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  parties.rows[RowOf(parties, "1003")][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  DataPacket plan = PlanPacket();
  plan.addRow({Variant(EncodeDate(2027, 1, 10)), kBranch, kBudget, "1001", Variant(1000.0)});
  plan.addRow({Variant(EncodeDate(2027, 1, 10)), kBranch, kBudget, "1003", Variant(3000.0)});
  Call("SetConfirmar", {Variant(parties), Variant(plan), kBranch, kBudget});
  DataPacket emptied = Call("DeletaFormaPgto", {kBranch, kBudget, "1001"}).asPacket();
  EXPECT_TRUE(emptied.rows.empty());
  // The five fields of the plan and the contract's two hidden key fields.
  EXPECT_EQ(emptied.fields.size(), 7u);
  EXPECT_TRUE(Plan("1001").rows.empty());
  EXPECT_EQ(Plan("1003").rowCount(), 1u);
}

TEST_P(ContractorValues, CodesAreBroughtToTheirKeyWidth) {
  Call("InsContratDistrato", {Variant(Sent()), "1", "101"});
  EXPECT_EQ(Call("GetContratDistrato", {"1", "101"}).asPacket().rowCount(), 3u);
  EXPECT_EQ(Call("GetContratDistrato", {kBranch, "0000000999"}).asPacket().rowCount(), 0u);
}

// What the client computed is checked again; each refusal writes nothing.
TEST_P(ContractorValues, SetConfirmarRechecksModesInstallmentsAndDates) {
  Ins(Sent());
  const DataPacket parties = Parties();
  auto refusal = [&](const DataPacket& p, const DataPacket& plan) -> std::string {
    try {
      Call("SetConfirmar", {Variant(p), Variant(plan), kBranch, kBudget});
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no refusal)";
  };
  auto withMode = [&](const char* client, const char* mode) {
    DataPacket p = parties;
    p.rows[RowOf(p, client)][p.fieldIndex("IDTPFORMAPGTO")] = Variant(mode);
    return p;
  };
  auto planOf = [](std::vector<std::pair<DateTime, double>> rows, const char* client = "1001") {
    DataPacket plan = PlanPacket();
    for (auto& [due, value] : rows) plan.addRow({Variant(due), kBranch, kBudget, client, Variant(value)});
    return plan;
  };
  const DateTime due = EncodeDate(2030, 1, 10);

  // A variable plan needs installments; "E" and "F" take none.
  EXPECT_NE(refusal(withMode("1001", "V"), PlanPacket()).find("pelo menos uma parcela"), std::string::npos);
  EXPECT_NE(refusal(parties, planOf({{due, 1000.0}})).find("não tem forma de pagamento variável"), std::string::npos);
  EXPECT_NE(refusal(withMode("1001", "F"), planOf({{due, 1000.0}})).find("não tem forma de pagamento variável"),
            std::string::npos);
  // Installments above zero, even when the sum matches.
  EXPECT_NE(refusal(withMode("1001", "V"), planOf({{due, 1000.0}, {due, 0.0}})).find("maior que zero"),
            std::string::npos);
  EXPECT_NE(refusal(withMode("1001", "V"), planOf({{due, 1000.38}, {due, -0.38}})).find("Valor inválido"),
            std::string::npos);
  // Not due before the processing date.
  Database db(target_);
  db.exec("UPDATE FILIAL SET DTPROCESSAMENTO = 47000 WHERE CDFILIAL = '0001'");  // 05/09/2028
  EXPECT_NE(refusal(withMode("1001", "V"), planOf({{DateTime{46999}, 1000.0}})).find("antes da data de processamento"),
            std::string::npos);
  // The sum to the cent.
  EXPECT_NE(refusal(withMode("1001", "V"), planOf({{due, 999.99}})).find("A soma das parcelas difere"),
            std::string::npos);
  // Above the calculated value.
  DataPacket above = parties;
  above.rows[RowOf(above, "1001")][above.fieldIndex("VRORIGREC")] = Variant(1000.01);
  EXPECT_NE(refusal(above, PlanPacket()).find("não pode ser maior que o valor calculado"), std::string::npos);
  EXPECT_EQ(Parties(), parties);
  EXPECT_TRUE(Plan("1001").rows.empty());

  // Due on the processing date itself is fine; half-cents go by the money rule.
  EXPECT_NE(refusal(withMode("1001", "V"), planOf({{due, 333.335}, {due, 666.665}})).find("A soma das parcelas"),
            std::string::npos);  // 333,34 + 666,67
  EXPECT_EQ(refusal(withMode("1001", "V"), planOf({{DateTime{47000}, 333.335}, {due, 666.664}})), "(no refusal)");
  DataPacket stored = Plan("1001");
  ASSERT_EQ(stored.rowCount(), 2u);
  EXPECT_EQ(stored.at(0, "VRPARCELA").asDouble(), 333.34);
  EXPECT_EQ(stored.at(1, "VRPARCELA").asDouble(), 666.66);
}

TEST_P(ContractorValues, APlanHoldsAtMost360Installments) {
  Ins(Sent());
  DataPacket parties = Parties();
  parties.rows[RowOf(parties, "1001")][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  // 1.000,00 in installments of 2,50 (400 of them) is refused whole; in 360
  // (359 of 2,50 and one of 102,50) it is stored.
  auto planOf = [](int count, double last) {
    DataPacket plan = PlanPacket();
    for (int i = 0; i < count; ++i)
      plan.addRow({Variant(EncodeDate(2030, 1, 10)), kBranch, kBudget, "1001", Variant(i + 1 == count ? last : 2.5)});
    return plan;
  };
  try {
    Call("SetConfirmar", {Variant(parties), Variant(planOf(400, 2.5)), kBranch, kBudget});
    ADD_FAILURE() << "a plan of 400 installments was taken";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("excede o limite de 360 parcelas"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(Plan("1001").rows.empty());
  Call("SetConfirmar", {Variant(parties), Variant(planOf(360, 102.5)), kBranch, kBudget});
  EXPECT_EQ(Plan("1001").rowCount(), 360u);
}

TEST_P(ContractorValues, LeavingTheVariableModeDropsTheInstallments) {
  Ins(Sent());
  DataPacket parties = Parties();
  parties.rows[RowOf(parties, "1002")][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  DataPacket plan = PlanPacket();
  plan.addRow({Variant(EncodeDate(2030, 1, 10)), kBranch, kBudget, "1002", Variant(2000.0)});
  Call("SetConfirmar", {Variant(parties), Variant(plan), kBranch, kBudget});
  ASSERT_EQ(Plan("1002").rowCount(), 1u);
  parties.rows[RowOf(parties, "1002")][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("E");
  Call("SetConfirmar", {Variant(parties), Variant(PlanPacket()), kBranch, kBudget});
  EXPECT_TRUE(Plan("1002").rows.empty());
}

TEST_P(ContractorValues, ClientCodesInPacketsAreNormalisedAsArgumentsAre) {
  DataPacket sent = Sent();
  sent.rows[0][sent.fieldIndex("CDCLIENTE")] = Variant(" 1001 ");
  DataPacket stored = Ins(sent);
  EXPECT_EQ(stored.rowCount(), 3u);
  DataPacket parties = Parties();
  const std::size_t r = RowOf(parties, "1002");
  parties.rows[r][parties.fieldIndex("CDCLIENTE")] = Variant("1002 ");
  parties.rows[r][parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  DataPacket plan = PlanPacket();
  plan.addRow({Variant(EncodeDate(2030, 1, 10)), kBranch, kBudget, " 1002", Variant(2000.0)});
  Call("SetConfirmar", {Variant(parties), Variant(plan), kBranch, kBudget});
  EXPECT_EQ(Plan("1002").rowCount(), 1u);
}

}  // namespace
