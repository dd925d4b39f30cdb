// Two operators reviewing the same budget's contractor values at once: a
// change to a party that another connection changed since this one read it
// is refused, so no confirmation silently overwrites another.

#include <gtest/gtest.h>

#include "data/formats.h"
#include "net/refusal.h"
#include "test_support.h"

namespace {

const char* kBranch = "0001";
const char* kBudget = "0000000101";

const char* const kChanged =
    "Os valores do contratante 1001 (sequência 01, endereço 1) foram alterados por outro operador depois de lidos. Abra novamente os valores "
    "dos contratantes e refaça a confirmação.";

class WorkingSetConflict : public ::testing::TestWithParam<Backend> {
 protected:
  WorkingSetConflict() {
    WriteDemoDatabase(target_, 0);
    app_ = std::make_unique<AppServer>(target_);
    Open(first_, Priced());  // the first operator opens the review
  }

  // The parties as the pricing hands them, 1001 calculated at `first`.
  static DataPacket Priced(double first = 1000.0) {
    DataPacket sent({F("VRORIGREC"), F("VRPERCMULTA"), F("VRMULTA"), S("GERACTPAGAR", 20), F("VRORIGRECNOEDIT"),
                     S("CDCLIENTE", 21), S("ERRO", 100), S("ERRORENEGFIN", 25)});
    sent.addRow({Variant(first), Variant(10.0), Variant(first / 10), Variant("CNTPAGAR"), Variant(first),
                 Variant("1001"), Variant(""), Variant("")});
    sent.addRow({Variant(2000.0), Variant(10.0), Variant(200.0), Variant("CNTPAGAR"), Variant(2000.0), Variant("1002"),
                 Variant(""), Variant("")});
    return sent;
  }
  DataPacket Open(CallerSession& who, const DataPacket& priced) {
    std::vector<Variant> args{Variant(priced), kBranch, kBudget};
    return app_->call(who, "InsContratDistrato", args).asPacket();
  }

  DataPacket Read(CallerSession& who) {
    std::vector<Variant> args{kBranch, kBudget};
    return app_->call(who, "GetContratDistrato", args).asPacket();
  }
  static DataPacket WithNegotiated(DataPacket parties, const std::string& client, double value) {
    for (PacketRows::RowRef row : parties.rows)
      if (row[parties.fieldIndex("CDCLIENTE")].asText() == client) row[parties.fieldIndex("VRORIGREC")] = Variant(value);
    return parties;
  }
  static DataPacket NoPlan() {
    return DataPacket({D("DTVENCIMENTO"), S("CDFILIAL", 4), S("NRORCAEVENTO", 10), S("CDCLIENTE", 21), F("VRPARCELA")});
  }
  // The refusal of a confirmation, or "" when it was stored.
  std::string Confirm(CallerSession& who, const DataPacket& parties, const DataPacket& plan = NoPlan()) {
    std::vector<Variant> args{Variant(parties), Variant(plan), kBranch, kBudget};
    try {
      app_->call(who, "SetConfirmar", args);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  double Negotiated(const std::string& client) {
    std::vector<Variant> args{kBranch, kBudget};
    const DataPacket p = app_->call("GetContratDistrato", args).asPacket();
    for (std::size_t i = 0; i < p.rowCount(); ++i)
      if (p.at(i, "CDCLIENTE").asText() == client) return p.at(i, "VRORIGREC").asDouble();
    return -1;
  }

  ScratchDir dir_;
  std::string target_ = FreshDatabase(GetParam(), dir_);
  std::unique_ptr<AppServer> app_;
  LoggedInCaller first_{"SUPERVISOR", "SUPERVISOR", "127.0.0.1:41001"};
  LoggedInCaller second_{"GERENTE", "GERENTE", "127.0.0.1:41002"};
};

INSTANTIATE_TEST_SUITE_P(Backends, WorkingSetConflict, AllBackends(), BackendName);

TEST_P(WorkingSetConflict, TheLaterOfTwoConfirmationsOfOneReadingIsRefused) {
  const DataPacket firstRead = Read(first_);
  const DataPacket secondRead = Read(second_);
  EXPECT_EQ(Confirm(second_, WithNegotiated(secondRead, "1001", 700)), "");
  EXPECT_EQ(Confirm(first_, WithNegotiated(firstRead, "1001", 900)), kChanged);
  EXPECT_DOUBLE_EQ(Negotiated("1001"), 700);  // the second operator's confirmation stands

  // Read again, the first operator sees the change and may confirm over it.
  const DataPacket fresh = Read(first_);
  EXPECT_EQ(Confirm(first_, WithNegotiated(fresh, "1001", 900)), "");
  EXPECT_DOUBLE_EQ(Negotiated("1001"), 900);
}

TEST_P(WorkingSetConflict, OnesOwnConfirmationsFollowEachOther) {
  const DataPacket read = Read(first_);
  EXPECT_EQ(Confirm(first_, WithNegotiated(read, "1001", 900)), "");
  // The dialog stays open and confirms again from what it showed last.
  EXPECT_EQ(Confirm(first_, WithNegotiated(read, "1001", 800)), "");
  EXPECT_DOUBLE_EQ(Negotiated("1001"), 800);
}

TEST_P(WorkingSetConflict, AChangeToTheComputedValuesCountsAndAPlanChangeToo) {
  const DataPacket firstRead = Read(first_);
  Read(second_);
  // The second operator's installments for party 1002 (variable mode).
  DataPacket parties = firstRead;
  for (PacketRows::RowRef row : parties.rows)
    if (row[parties.fieldIndex("CDCLIENTE")].asText() == "1002") row[parties.fieldIndex("IDTPFORMAPGTO")] = Variant("V");
  DataPacket plan = NoPlan();
  plan.addRow({Variant(EncodeDate(2027, 1, 10)), kBranch, kBudget, "1002", Variant(2000.0)});
  EXPECT_EQ(Confirm(second_, parties, plan), "");
  // The first operator's stale reading of 1002 is refused, naming that party.
  const std::string refusal = Confirm(first_, firstRead);
  EXPECT_NE(refusal.find("contratante 1002 (sequência 01, endereço 1) foram alterados por outro operador"), std::string::npos) << refusal;
  // Deleting the plan the other operator stored is refused the same way.
  std::vector<Variant> del{kBranch, kBudget, "1002"};
  EXPECT_THROW(app_->call(first_, "DeletaFormaPgto", del), std::runtime_error);
}

// Resuming the review rewrites what the pricing changed: the operator who
// resumed holds both the rewritten party and the one left as it was, and
// another's older reading of the rewritten one no longer counts.
TEST_P(WorkingSetConflict, ResumingTheReviewHoldsWhatItRewroteAndWhatItKept) {
  const DataPacket secondRead = Read(second_);
  const DataPacket resumed = Open(first_, Priced(1500.0));
  EXPECT_EQ(Confirm(second_, WithNegotiated(secondRead, "1001", 900)), kChanged);
  EXPECT_EQ(Confirm(first_, WithNegotiated(resumed, "1001", 1200)), "");
  EXPECT_DOUBLE_EQ(Negotiated("1001"), 1200);
}

TEST_P(WorkingSetConflict, AConnectionThatNeverReadTheWorkingSetCannotChangeIt) {
  LoggedInCaller stranger{"SUPERVISOR", "SUPERVISOR", "127.0.0.1:41003"};
  EXPECT_EQ(Confirm(stranger, WithNegotiated(Read(first_), "1001", 500)),
            "Os valores do contratante 1001 (sequência 01, endereço 1) não foram lidos nesta conexão com o servidor. Abra novamente os valores "
            "dos contratantes e refaça a confirmação.");
  // A call from inside the server's process is checked the same: its session never read the working set.
  std::vector<Variant> args{Variant(WithNegotiated(Read(first_), "1001", 500)), Variant(NoPlan()), kBranch, kBudget};
  EXPECT_THROW(app_->call("SetConfirmar", args), Refusal);
}

TEST(CallerSessionReads, AreKeptPerScopeReplacedWholeAndBounded) {
  CallerSession caller("127.0.0.1:1");
  caller.rememberReads("B1", {{"1001", "a"}, {"1002", "b"}});
  caller.rememberRead("B1", "1002", "b2");
  EXPECT_EQ(caller.lastRead("B1", "1001"), "a");
  EXPECT_EQ(caller.lastRead("B1", "1002"), "b2");
  EXPECT_EQ(caller.lastRead("B2", "1001"), std::nullopt);
  caller.rememberReads("B1", {{"1003", "c"}});  // a new reading of the scope replaces the old one
  EXPECT_EQ(caller.lastRead("B1", "1001"), std::nullopt);
  // Forty budgets read one after another: the one just read is always kept,
  // and no more than 32 are.
  int kept = 0;
  for (int i = 0; i < 40; ++i) {
    caller.rememberReads("X" + std::to_string(i), {{"1", "s"}});
    EXPECT_EQ(caller.lastRead("X" + std::to_string(i), "1"), "s") << i;
  }
  for (int i = 0; i < 40; ++i) kept += caller.lastRead("X" + std::to_string(i), "1") ? 1 : 0;
  EXPECT_LE(kept + (caller.lastRead("B1", "1003") ? 1 : 0), 32);
}

}  // namespace
