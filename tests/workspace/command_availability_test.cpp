#include "workspace/command_availability.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace workspace {
namespace {

// Answers the two server questions from fixed values and counts the asks.
struct FakeServer {
  ExistingContractFlags flags{false, true, true, true, true};
  bool newPartyAnswer = false;
  int existingAsked = 0;
  int newPartyAsked = 0;

  CommandQuestions questions() {
    return CommandQuestions{
        .GetExisContOrca = [this] { ++existingAsked; return flags; },
        .NovoContratante = [this] { ++newPartyAsked; return newPartyAnswer; },
    };
  }
};

// A loaded list whose current party can be rescinded partially.
CommandInputs RescindableParty() {
  CommandInputs in;
  in.listEmpty = false;
  in.listEditing = false;
  in.IDSITUCONTOREV = "CNTGERADA";
  in.IDCONTPROCESDIST = "N";
  in.IDSITUORCEVE = "3";
  in.IDUTILCUSTOFIXOORCA = "S";
  return in;
}

CommandState Decide(const CommandInputs& in, FakeServer& server,
                    CommandState state = CommandState{}) {
  HabilitaBotoes(in, server.questions(), state);
  return state;
}

CommandState Totally(CommandState s = CommandState{}) {
  s.tipo = RescissionType::Total;
  return s;
}

void ExpectMenusMirrorButtons(const CommandState& s) {
  EXPECT_EQ(s.mnuIncluir, s.sbtIncluir);
  EXPECT_EQ(s.mnuAlterar, s.sbtAlterar);
  EXPECT_EQ(s.mnuExcluir, s.sbtExcluir);
  EXPECT_EQ(s.mnuProcurar, s.sbtProcurar);
  EXPECT_EQ(s.mnuVerificar, s.sbtVerificar);
  EXPECT_EQ(s.mnuCancContrat, s.sbtCancContrat);
  EXPECT_EQ(s.mnuDistrato, s.sbtDistrato);
  EXPECT_EQ(s.mnuConsolidaDistrato, s.sbtConsolidaDistrato);
  EXPECT_EQ(s.mnuCancelaDistrato, s.sbtCancelaDistrato);
  EXPECT_EQ(s.mnuConfirmar, s.sbtConfirmar);
  EXPECT_EQ(s.mnuCancelar, s.sbtCancelar);
}

// One row: a change to the rescindable party and the server, and the state
// of one command that must follow.
struct Row {
  const char* name;
  std::function<void(CommandInputs&, FakeServer&, CommandState&)> change;
  bool CommandState::*command;
  bool expected;
};

class CommandRows : public ::testing::TestWithParam<Row> {};

TEST_P(CommandRows, FollowsTheDecisionTable) {
  const Row& row = GetParam();
  CommandInputs in = RescindableParty();
  FakeServer server;
  CommandState state;
  row.change(in, server, state);
  const CommandState result = Decide(in, server, state);
  EXPECT_EQ(result.*(row.command), row.expected) << row.name;
  ExpectMenusMirrorButtons(result);
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) { return info.param.name; }

auto Nothing = [](CommandInputs&, FakeServer&, CommandState&) {};

INSTANTIATE_TEST_SUITE_P(
    Verificar, CommandRows,
    ::testing::Values(
        Row{"LoadedList", Nothing, &CommandState::sbtVerificar, true},
        Row{"EmptyList", [](auto& in, auto&, auto&) { in.listEmpty = true; },
            &CommandState::sbtVerificar, false},
        Row{"ListBeingEdited", [](auto& in, auto&, auto&) { in.listEditing = true; },
            &CommandState::sbtVerificar, false},
        Row{"PartyInProcessStillReloads",
            [](auto& in, auto&, auto&) { in.IDCONTPROCESDIST = "S"; },
            &CommandState::sbtVerificar, true}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Procurar, CommandRows,
    ::testing::Values(
        Row{"LoadedList", Nothing, &CommandState::sbtProcurar, true},
        Row{"EmptyList", [](auto& in, auto&, auto&) { in.listEmpty = true; },
            &CommandState::sbtProcurar, false},
        Row{"ListBeingEdited", [](auto& in, auto&, auto&) { in.listEditing = true; },
            &CommandState::sbtProcurar, false},
        Row{"PartyInProcess", [](auto& in, auto&, auto&) { in.IDCONTPROCESDIST = "S"; },
            &CommandState::sbtProcurar, false},
        Row{"PartyConsolidated", [](auto& in, auto&, auto&) { in.IDCONTPROCESDIST = "C"; },
            &CommandState::sbtProcurar, true}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    DistratoParcial, CommandRows,
    ::testing::Values(
        Row{"AllConditionsHold", Nothing, &CommandState::sbtDistrato, true},
        Row{"PartyInProcess", [](auto& in, auto&, auto&) { in.IDCONTPROCESDIST = "S"; },
            &CommandState::sbtDistrato, false},
        Row{"SubstituteTyped", [](auto& in, auto&, auto&) { in.NRINSJURCLIESUB = "12345678901"; },
            &CommandState::sbtDistrato, false},
        Row{"EmptyList", [](auto& in, auto&, auto&) { in.listEmpty = true; },
            &CommandState::sbtDistrato, false},
        Row{"ListBeingEdited", [](auto& in, auto&, auto&) { in.listEditing = true; },
            &CommandState::sbtDistrato, false},
        Row{"NewPartyRefused",
            [](auto&, auto& sv, auto&) { sv.flags[0] = true; sv.newPartyAnswer = true; },
            &CommandState::sbtDistrato, false},
        Row{"NewPartyAllowed",
            [](auto&, auto& sv, auto&) { sv.flags[0] = true; sv.newPartyAnswer = false; },
            &CommandState::sbtDistrato, true},
        Row{"CurrentReceivableSettled",
            [](auto& in, auto&, auto&) { in.currentReceivableSettled = true; },
            &CommandState::sbtDistrato, false},
        Row{"EditPendingConfirmation", [](auto&, auto&, auto& s) { s.sbtConfirmar = true; },
            &CommandState::sbtDistrato, false},
        Row{"SituationLancado", [](auto& in, auto&, auto&) { in.IDSITUCONTOREV = "LANCADO"; },
            &CommandState::sbtDistrato, false},
        Row{"SituationCancelado", [](auto& in, auto&, auto&) { in.IDSITUCONTOREV = "CANCELADO"; },
            &CommandState::sbtDistrato, false},
        Row{"F4False", [](auto&, auto& sv, auto&) { sv.flags[4] = false; },
            &CommandState::sbtDistrato, false}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    DistratoTotal, CommandRows,
    ::testing::Values(
        Row{"NoProcess", [](auto&, auto&, auto& s) { s = Totally(s); },
            &CommandState::sbtDistrato, true},
        Row{"NoProcessEvenWithSubstituteAndSettled",
            [](auto& in, auto& sv, auto& s) {
              s = Totally(s);
              in.NRINSJURCLIESUB = "1";
              in.currentReceivableSettled = true;
              in.IDSITUCONTOREV = "CANCELADO";
              sv.flags[4] = false;
            },
            &CommandState::sbtDistrato, true},
        Row{"InProcess",
            [](auto& in, auto&, auto& s) { s = Totally(s); in.IDCONTPROCESDIST = "S"; },
            &CommandState::sbtDistrato, false},
        Row{"Consolidated",
            [](auto& in, auto&, auto& s) { s = Totally(s); in.IDCONTPROCESDIST = "C"; },
            &CommandState::sbtDistrato, false},
        Row{"NoParty",
            [](auto& in, auto&, auto& s) {
              s = Totally(s);
              in = CommandInputs{};
            },
            &CommandState::sbtDistrato, false}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    CancContratParcial, CommandRows,
    ::testing::Values(
        Row{"DistratoOnAndF4", Nothing, &CommandState::sbtCancContrat, true},
        Row{"DistratoOffAndF4False",
            [](auto& in, auto& sv, auto&) {
              sv.flags[4] = false;
              in.currentReceivableSettled = true;
            },
            &CommandState::sbtCancContrat, true},
        Row{"DistratoOffButF4",
            [](auto& in, auto&, auto&) { in.currentReceivableSettled = true; },
            &CommandState::sbtCancContrat, false},
        Row{"F3False", [](auto&, auto& sv, auto&) { sv.flags[3] = false; },
            &CommandState::sbtCancContrat, false},
        Row{"SituationNotGenerated",
            [](auto& in, auto& sv, auto&) {
              sv.flags[4] = false;
              in.IDSITUCONTOREV = "DEVOLVIDO";
            },
            &CommandState::sbtCancContrat, false},
        Row{"ListBeingEdited",
            [](auto& in, auto& sv, auto&) {
              sv.flags[4] = false;
              in.listEditing = true;
            },
            &CommandState::sbtCancContrat, false},
        Row{"PartyInProcess",
            [](auto& in, auto& sv, auto&) {
              sv.flags[4] = false;
              in.IDCONTPROCESDIST = "S";
            },
            &CommandState::sbtCancContrat, false}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    CancContratTotal, CommandRows,
    ::testing::Values(Row{"Never", [](auto&, auto&, auto& s) { s = Totally(s); },
                          &CommandState::sbtCancContrat, false}),
    RowName);

// A partial rescission started and not yet consolidated.
auto InProcess = [](CommandInputs& in) {
  in.IDSITUCONTOREV = "CANCELADO";
  in.IDCONTPROCESDIST = "S";
};

INSTANTIATE_TEST_SUITE_P(
    ConsolidaDistrato, CommandRows,
    ::testing::Values(
        Row{"CancelledInProcess", [](auto& in, auto&, auto&) { InProcess(in); },
            &CommandState::sbtConsolidaDistrato, true},
        Row{"CancelledInProcessUnderTotal",
            [](auto& in, auto&, auto& s) { InProcess(in); s = Totally(s); },
            &CommandState::sbtConsolidaDistrato, true},
        Row{"SettledButF1AndF2",
            [](auto& in, auto&, auto&) { InProcess(in); in.currentReceivableSettled = true; },
            &CommandState::sbtConsolidaDistrato, true},
        Row{"SettledAndF1False",
            [](auto& in, auto& sv, auto&) {
              InProcess(in);
              in.currentReceivableSettled = true;
              sv.flags[1] = false;
            },
            &CommandState::sbtConsolidaDistrato, false},
        Row{"SettledAndF2False",
            [](auto& in, auto& sv, auto&) {
              InProcess(in);
              in.currentReceivableSettled = true;
              sv.flags[2] = false;
            },
            &CommandState::sbtConsolidaDistrato, false},
        Row{"F1AndF2FalseNotSettled",
            [](auto& in, auto& sv, auto&) {
              InProcess(in);
              sv.flags[1] = sv.flags[2] = false;
            },
            &CommandState::sbtConsolidaDistrato, true},
        Row{"SubstituteTyped",
            [](auto& in, auto&, auto&) { InProcess(in); in.NRINSJURCLIESUB = "1"; },
            &CommandState::sbtConsolidaDistrato, false},
        Row{"NotCancelled",
            [](auto& in, auto&, auto&) { InProcess(in); in.IDSITUCONTOREV = "CNTGERADA"; },
            &CommandState::sbtConsolidaDistrato, false},
        Row{"Consolidated",
            [](auto& in, auto&, auto&) { InProcess(in); in.IDCONTPROCESDIST = "C"; },
            &CommandState::sbtConsolidaDistrato, false}),
    RowName);

// A consolidated rescission.
auto Consolidated = [](CommandInputs& in) {
  in.IDSITUCONTOREV = "CANCELADO";
  in.IDCONTPROCESDIST = "C";
};

INSTANTIATE_TEST_SUITE_P(
    CancelaDistrato, CommandRows,
    ::testing::Values(
        Row{"ConsolidatedCancelled", [](auto& in, auto&, auto&) { Consolidated(in); },
            &CommandState::sbtCancelaDistrato, true},
        Row{"ConsolidatedUnderTotal",
            [](auto& in, auto&, auto& s) { Consolidated(in); s = Totally(s); },
            &CommandState::sbtCancelaDistrato, true},
        Row{"SubstituteRecorded",
            [](auto& in, auto&, auto&) { Consolidated(in); in.CDCLICONTSUBORE = "0001"; },
            &CommandState::sbtCancelaDistrato, false},
        Row{"NotCancelled",
            [](auto& in, auto&, auto&) { Consolidated(in); in.IDSITUCONTOREV = "DEVOLVIDO"; },
            &CommandState::sbtCancelaDistrato, false},
        Row{"StillInProcess", [](auto& in, auto&, auto&) { InProcess(in); },
            &CommandState::sbtCancelaDistrato, false},
        Row{"NoProcess",
            [](auto& in, auto&, auto&) { in.IDSITUCONTOREV = "CANCELADO"; },
            &CommandState::sbtCancelaDistrato, false}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Parcial, CommandRows,
    ::testing::Values(
        Row{"FixedCostUsed", Nothing, &CommandState::rbtParcialEnabled, true},
        Row{"FixedCostEmpty", [](auto& in, auto&, auto&) { in.IDUTILCUSTOFIXOORCA = ""; },
            &CommandState::rbtParcialEnabled, true},
        Row{"FixedCostNotUsed", [](auto& in, auto&, auto&) { in.IDUTILCUSTOFIXOORCA = "N"; },
            &CommandState::rbtParcialEnabled, false},
        Row{"ReenabledByAnotherBudget",
            [](auto&, auto&, auto& s) { s.rbtParcialEnabled = false; },
            &CommandState::rbtParcialEnabled, true}),
    RowName);

TEST(CommandAvailability, InsertEditAndDeleteAreNeverOffered) {
  CommandState state;
  state.sbtIncluir = state.sbtAlterar = state.sbtExcluir = true;
  state.mnuIncluir = state.mnuAlterar = state.mnuExcluir = true;
  for (RescissionType tipo : {RescissionType::Parcial, RescissionType::Total}) {
    state.tipo = tipo;
    FakeServer server;
    const CommandState result = Decide(RescindableParty(), server, state);
    EXPECT_FALSE(result.sbtIncluir || result.sbtAlterar || result.sbtExcluir);
    EXPECT_FALSE(result.mnuIncluir || result.mnuAlterar || result.mnuExcluir);
  }
}

TEST(CommandAvailability, ConfirmAndCancelMenusFollowTheBaseFormButtons) {
  CommandState state;
  state.sbtConfirmar = true;
  state.sbtCancelar = false;
  state.mnuConfirmar = false;
  state.mnuCancelar = true;
  FakeServer server;
  const CommandState result = Decide(RescindableParty(), server, state);
  EXPECT_TRUE(result.sbtConfirmar);
  EXPECT_TRUE(result.mnuConfirmar);
  EXPECT_FALSE(result.mnuCancelar);
}

// Every command open, every menu on, so a lock shows what it turns off.
CommandState EverythingOn() {
  CommandState s;
  for (bool CommandState::*member :
       {&CommandState::sbtIncluir, &CommandState::sbtAlterar, &CommandState::sbtExcluir,
        &CommandState::sbtProcurar, &CommandState::sbtVerificar, &CommandState::sbtCancContrat,
        &CommandState::sbtDistrato, &CommandState::sbtConsolidaDistrato,
        &CommandState::sbtCancelaDistrato, &CommandState::sbtConfirmar, &CommandState::sbtCancelar,
        &CommandState::mnuIncluir, &CommandState::mnuAlterar, &CommandState::mnuExcluir,
        &CommandState::mnuProcurar, &CommandState::mnuVerificar, &CommandState::mnuCancContrat,
        &CommandState::mnuDistrato, &CommandState::mnuConsolidaDistrato,
        &CommandState::mnuCancelaDistrato, &CommandState::mnuConfirmar,
        &CommandState::mnuCancelar}) {
    s.*member = true;
  }
  return s;
}

TEST(CommandAvailability, LockedBudgetLeavesOnlyReloadAndSearch) {
  for (const char* situation : {"1", "2", "4", "X"}) {
    CommandInputs in = RescindableParty();
    in.IDSITUORCEVE = situation;
    in.listEmpty = true;           // reload and search are on even with nothing listed
    in.IDUTILCUSTOFIXOORCA = "N";  // the fixed-cost rule is not applied
    FakeServer server;
    server.flags[0] = true;  // would ask NovoContratante if the run went on
    CommandState before = EverythingOn();
    before.sbtConfirmar = false;  // confirm and cancel menus are not mirrored
    before.sbtCancelar = false;

    CommandState state = before;
    const CommandRunReport report = HabilitaBotoes(in, server.questions(), state);

    CommandState expected = before;
    expected.sbtIncluir = expected.sbtAlterar = expected.sbtExcluir = false;
    expected.sbtDistrato = expected.sbtCancContrat = false;
    expected.sbtConsolidaDistrato = expected.sbtCancelaDistrato = false;
    expected.mnuIncluir = expected.mnuAlterar = expected.mnuExcluir = false;
    expected.mnuDistrato = expected.mnuCancContrat = false;
    expected.mnuConsolidaDistrato = expected.mnuCancelaDistrato = false;
    EXPECT_EQ(state, expected) << situation;
    EXPECT_TRUE(report.budgetLocked);
    EXPECT_FALSE(report.typeForcedToTotal);
    EXPECT_EQ(server.existingAsked, 1);
    EXPECT_EQ(server.newPartyAsked, 0);
  }
}

TEST(CommandAvailability, EmptyAndThirdBudgetSituationsLeaveTheCommandsOpen) {
  for (const char* situation : {"", "3"}) {
    CommandInputs in = RescindableParty();
    in.IDSITUORCEVE = situation;
    FakeServer server;
    const CommandState state = Decide(in, server);
    EXPECT_TRUE(state.sbtDistrato) << situation;
    EXPECT_FALSE(BudgetLocked(situation));
  }
}

TEST(CommandAvailability, NothingListBoundBeforeTheFirstLoad) {
  for (RescissionType tipo : {RescissionType::Parcial, RescissionType::Total}) {
    FakeServer server;
    server.flags = {false, false, false, false, false};
    CommandState before = EverythingOn();
    before.sbtConfirmar = before.sbtCancelar = false;
    before.tipo = tipo;
    const CommandState state = Decide(CommandInputs{}, server, before);
    EXPECT_FALSE(state.sbtVerificar);
    EXPECT_FALSE(state.sbtProcurar);
    EXPECT_FALSE(state.sbtDistrato);
    EXPECT_FALSE(state.sbtConsolidaDistrato);
    EXPECT_FALSE(state.sbtCancelaDistrato);
    EXPECT_EQ(server.existingAsked, 1);  // asked even with a closed list
    ExpectMenusMirrorButtons(state);
  }
}

TEST(CommandAvailability, PartialCancContratWithBothFlagsFalseIsOnEvenWhenDistratoIsOff) {
  // F4 false turns sbtDistrato off; off equals F4, so substitution stays on.
  CommandInputs in = RescindableParty();
  FakeServer server;
  server.flags[4] = false;
  const CommandState state = Decide(in, server);
  EXPECT_FALSE(state.sbtDistrato);
  EXPECT_TRUE(state.sbtCancContrat);
}

TEST(CommandAvailability, PartyInProcessTurnsOffRescissionSubstitutionAndSearch) {
  for (RescissionType tipo : {RescissionType::Parcial, RescissionType::Total}) {
    CommandInputs in = RescindableParty();
    in.IDCONTPROCESDIST = "S";
    FakeServer server;
    server.flags[4] = false;  // substitution's own rule would hold
    CommandState start;
    start.tipo = tipo;
    const CommandState state = Decide(in, server, start);
    EXPECT_FALSE(state.sbtDistrato);
    EXPECT_FALSE(state.sbtCancContrat);
    EXPECT_FALSE(state.sbtProcurar);
    EXPECT_TRUE(state.sbtVerificar);
  }
}

TEST(CommandAvailability, NovoContratanteIsAskedOnlyForAnExistingContractWithoutSubstitute) {
  struct Case {
    bool f0;
    const char* substitute;
    const char* budgetSituation;
    int expectedAsks;
  };
  for (const Case& c : std::vector<Case>{{true, "", "3", 1},
                                         {true, "", "", 1},
                                         {false, "", "3", 0},
                                         {true, "123", "3", 0},
                                         {true, "", "1", 0}}) {
    CommandInputs in = RescindableParty();
    in.NRINSJURCLIESUB = c.substitute;
    in.IDSITUORCEVE = c.budgetSituation;
    FakeServer server;
    server.flags[0] = c.f0;
    Decide(in, server);
    EXPECT_EQ(server.newPartyAsked, c.expectedAsks)
        << c.f0 << " '" << c.substitute << "' '" << c.budgetSituation << "'";
    EXPECT_EQ(AsksNovoContratante(in, server.flags), c.expectedAsks == 1);
  }
}

TEST(CommandAvailability, NovoContratanteIsAskedUnderTotalToo) {
  FakeServer server;
  server.flags[0] = true;
  Decide(RescindableParty(), server, Totally());
  EXPECT_EQ(server.existingAsked, 1);
  EXPECT_EQ(server.newPartyAsked, 1);
}

TEST(CommandAvailability, FixedCostForcesTotalThroughANestedRun) {
  CommandInputs in = RescindableParty();
  in.IDUTILCUSTOFIXOORCA = "N";
  FakeServer server;
  server.flags[0] = true;
  CommandState state;  // partial checked
  const CommandRunReport report = HabilitaBotoes(in, server.questions(), state);

  EXPECT_TRUE(report.typeForcedToTotal);
  EXPECT_EQ(state.tipo, RescissionType::Total);
  EXPECT_FALSE(state.rbtParcialEnabled);
  // The outer run and the nested one each ask both questions.
  EXPECT_EQ(server.existingAsked, 2);
  EXPECT_EQ(server.newPartyAsked, 2);

  // The end state is the one of a run that started under total.
  FakeServer direct;
  direct.flags[0] = true;
  CommandState underTotal = Totally();
  const CommandRunReport directReport = HabilitaBotoes(in, direct.questions(), underTotal);
  EXPECT_FALSE(directReport.typeForcedToTotal);
  EXPECT_EQ(state, underTotal);
  EXPECT_TRUE(state.sbtDistrato);      // total, no process
  EXPECT_FALSE(state.sbtCancContrat);  // never under total
  ExpectMenusMirrorButtons(state);
}

TEST(CommandAvailability, FixedCostWithTotalAlreadyCheckedRunsOnce) {
  CommandInputs in = RescindableParty();
  in.IDUTILCUSTOFIXOORCA = "N";
  FakeServer server;
  CommandState state = Totally();
  const CommandRunReport report = HabilitaBotoes(in, server.questions(), state);
  EXPECT_FALSE(report.typeForcedToTotal);
  EXPECT_FALSE(state.rbtParcialEnabled);
  EXPECT_EQ(state.tipo, RescissionType::Total);
  EXPECT_EQ(server.existingAsked, 1);
}

TEST(CommandAvailability, FixedCostDoesNotUncheckTotal) {
  CommandState state = Totally();
  state.rbtParcialEnabled = false;
  FakeServer server;
  const CommandState result = Decide(RescindableParty(), server, state);
  EXPECT_TRUE(result.rbtParcialEnabled);
  EXPECT_EQ(result.tipo, RescissionType::Total);
}

TEST(CommandAvailability, FailingExistingContractQuestionChangesNothing) {
  CommandState state = EverythingOn();
  const CommandState before = state;
  CommandQuestions ask{
      .GetExisContOrca = []() -> ExistingContractFlags { throw std::runtime_error("down"); },
      .NovoContratante = [] { return false; },
  };
  EXPECT_THROW(HabilitaBotoes(CommandInputs{}, ask, state), std::runtime_error);
  EXPECT_EQ(state, before);
}

TEST(CommandAvailability, FailingNewPartyQuestionKeepsWhatWasAlreadyDecided) {
  CommandState state = EverythingOn();
  CommandInputs in = RescindableParty();
  in.listEmpty = true;  // list-bound buttons go off before the question
  CommandQuestions ask{
      .GetExisContOrca = [] { return ExistingContractFlags{true, true, true, true, true}; },
      .NovoContratante = []() -> bool { throw std::runtime_error("down"); },
  };
  EXPECT_THROW(HabilitaBotoes(in, ask, state), std::runtime_error);

  CommandState expected = EverythingOn();
  expected.sbtIncluir = expected.sbtAlterar = expected.sbtExcluir = false;
  expected.sbtProcurar = expected.sbtVerificar = false;
  EXPECT_EQ(state, expected);
}

}  // namespace
}  // namespace workspace
