#include "script_runner.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "lib/corvane.h"
#include "script_parser.h"
#include "test_form.h"
#include "ui/application.h"

namespace dxscript {
namespace {

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui);
    setup.login.branch = "0001";
    setup.open = [this] {
      form = std::make_unique<TestForm>();
      form->SetName("frmTeste");
      form->Show();
    };
  }
  void TearDown() override {
    form.reset();
    SetUi(nullptr);
  }

  RunResult Run(const std::string& text) {
    output.str("");
    return RunScript(ParseScript(text), ui, setup, output);
  }

  ScriptedUi ui;
  RunnerSetup setup;
  std::unique_ptr<TestForm> form;
  std::ostringstream output;
};

TEST_F(RunnerTest, RunsActionsAndCountsTheExpectationsThatHeld) {
  RunResult r = Run(
      "open\n"
      "expect focus edtCodigo\n"
      "type edtCodigo \"123\"\n"
      "expect text edtCodigo \"123\"\n"
      "focus edtNome\n"
      "expect focus edtNome\n"
      "expect caption btnGravar \"Gravar\"\n"
      "expect enabled btnExcluir false\n");
  EXPECT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(r.passed, 5);
  EXPECT_EQ(Summary(r), "5 passed, 0 failed");
  EXPECT_EQ(form->code_changes, 1);  // typing ran the change handler
  EXPECT_NE(output.str().find("3: type edtCodigo \"123\" ... ok\n"), std::string::npos) << output.str();
}

TEST_F(RunnerTest, AFailedExpectationStopsTheRunAtItsLine) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"123\"\n"
      "expect text edtCodigo \"124\"\n"
      "type edtNome \"nunca\"\n");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(r.failed_line, 3);
  EXPECT_EQ(r.passed, 0);
  EXPECT_EQ(r.failure, "edtCodigo text: expected \"124\", found \"123\"");
  EXPECT_EQ(form->name->Text(), "");  // the line after the failure never ran
  EXPECT_EQ(Summary(r), "0 passed, 1 failed");
}

TEST_F(RunnerTest, LoginChangesTheEnvironmentBeforeOpening) {
  RunResult r = Run("login branch=0002 branch-name=\"Filial Dois\" locked=true operator=SUPERVISOR date=08/12/2026\n");
  ASSERT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(CurrentLoginEnvironment().branch, "0002");
  EXPECT_EQ(CurrentLoginEnvironment().branchName, "Filial Dois");
  EXPECT_TRUE(CurrentLoginEnvironment().branchLocked);
  EXPECT_EQ(CurrentLoginEnvironment().operatorCode, "SUPERVISOR");
  DateTime expected;
  ASSERT_TRUE(ParseLoginDate("08/12/2026", expected));
  ASSERT_TRUE(CurrentLoginEnvironment().processingDate);
  EXPECT_EQ(CurrentLoginEnvironment().processingDate->days, expected.days);

  EXPECT_EQ(Run("login date=31/02/2026\n").failed_line, 1);
}

TEST_F(RunnerTest, LoginTakesThePasswordAndTheServersTls) {
  RunResult r = Run("login operator=GERENTE password=\"Senha Um\" tls=true ca=/etc/ca.pem\n");
  ASSERT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(CurrentLoginEnvironment().operatorCode, "GERENTE");
  EXPECT_EQ(CurrentLoginEnvironment().password, "Senha Um");
  EXPECT_TRUE(CurrentLoginEnvironment().serverTls);
  EXPECT_EQ(CurrentLoginEnvironment().serverCaFile, "/etc/ca.pem");
  // A later login without a password keeps the one given before.
  ASSERT_TRUE(Run("login operator=GERENTE password=Um\nlogin operator=SUPERVISOR tls=false\n").Ok()) << output.str();
  EXPECT_EQ(CurrentLoginEnvironment().operatorCode, "SUPERVISOR");
  EXPECT_EQ(CurrentLoginEnvironment().password, "Um");
  EXPECT_FALSE(CurrentLoginEnvironment().serverTls);
  EXPECT_EQ(Run("login tls=talvez\n").failed_line, 1);
}

TEST_F(RunnerTest, MessageDialogsAreAnsweredFromTheQueueInOrder) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "answer yes\n"
      "click btnGravar\n"
      "expect message \"Gravado.\" type=information\n"
      "answer no\n"
      "click btnGravar\n"
      "expect message \"Confirma a gravação?\"\n"
      "expect message-type confirmation\n");
  EXPECT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(form->saves, 1);
  EXPECT_EQ(r.passed, 3);
}

TEST_F(RunnerTest, UnscriptedQuestionsGetTheDefaultAnswer) {
  RunResult r = Run("open\ntype edtCodigo \"1\"\nclick btnGravar\nexpect message \"Confirma a gravação?\"\n");
  EXPECT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(form->saves, 0);
  EXPECT_NE(output.str().find("-> No (default answer)"), std::string::npos) << output.str();
}

TEST_F(RunnerTest, NoMessageLooksOnlyAtMessagesSinceTheLastCheck) {
  EXPECT_TRUE(Run("open\ntype edtCodigo \"1\"\nanswer no\nclick btnGravar\nexpect message \"Confirma a gravação?\"\nexpect no-message\n").Ok())
      << output.str();
  RunResult r = Run("open\ntype edtCodigo \"1\"\nanswer no\nclick btnGravar\nexpect no-message\n");
  EXPECT_EQ(r.failed_line, 5);
  EXPECT_EQ(r.failure, "expected no message, found \"Confirma a gravação?\"");
}

TEST_F(RunnerTest, ExpectMessageFailsWhenNoNewMessageCame) {
  RunResult r = Run("open\ntype edtCodigo \"1\"\nanswer no\nclick btnGravar\nexpect message \"Confirma a gravação?\"\nexpect message \"Confirma a gravação?\"\n");
  EXPECT_EQ(r.failed_line, 6);
}

TEST_F(RunnerTest, AnswersNeverUsedFailAtTheEnd) {
  RunResult r = Run("open\nanswer yes\n");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.failed_line, 0);
  EXPECT_NE(output.str().find("end of script: FAILED"), std::string::npos);
}

TEST_F(RunnerTest, ARefusedExitShowsTheExceptionAndKeepsTheFocus) {
  RunResult r = Run(
      "open\n"
      "focus edtNome\n"
      "expect focus edtCodigo\n"
      "expect exception \"Código obrigatório.\"\n"
      "expect no-exception\n");
  EXPECT_TRUE(r.Ok()) << output.str();
  EXPECT_NE(output.str().find("focus stayed on edtCodigo"), std::string::npos) << output.str();
  // Typing needs the focus: a refused move fails the step.
  r = Run("open\ntype edtNome \"x\"\n");
  EXPECT_EQ(r.failed_line, 2);
  EXPECT_EQ(r.failure, "the focus did not reach edtNome: it stayed on edtCodigo");
}

TEST_F(RunnerTest, ClickingADisabledControlIsAnErrorUnlessForced) {
  RunResult r = Run("open\nclick btnExcluir\n");
  EXPECT_EQ(r.failed_line, 2);
  EXPECT_EQ(r.failure, "btnExcluir is disabled");
  EXPECT_TRUE(Run("open\nclick! btnExcluir\nexpect message \"Excluído.\"\n").Ok()) << output.str();
}

TEST_F(RunnerTest, MissingComponentsNameTheForm) {
  RunResult r = Run("open\nclick btnNada\n");
  EXPECT_EQ(r.failure, "no component btnNada on frmTeste");
  EXPECT_EQ(Run("form frmOutro\n").failed_line, 1);
}

TEST_F(RunnerTest, RadioButtonsKeysAndMenus) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "check rbtTotal\n"
      "expect checked rbtTotal true\n"
      "expect checked rbtParcial false\n"
      "expect message \"Total escolhido.\"\n"
      "key edtCodigo Delete\n"
      "answer yes\n"
      "key Ctrl+G\n"
      "expect message \"Gravado.\"\n"
      "answer yes\n"
      "menu mnuGravar\n");
  EXPECT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(form->deletes, 1);
  EXPECT_EQ(form->saves, 2);
}

TEST_F(RunnerTest, GridSelectionMovesTheRecord) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "select dbgItens row=3\n"
      "expect field cdsItens NMITEM \"Toalha\"\n"
      "expect rows cdsItens 3\n"
      "expect cell dbgItens row=2 col=NMITEM \"Cadeira\"\n"
      "select dbgItens row=4\n");
  EXPECT_EQ(r.passed, 3) << output.str();
  EXPECT_EQ(r.failed_line, 7);
  EXPECT_EQ(r.failure, "dbgItens has no row 4 (it has 3)");
}

TEST_F(RunnerTest, OnModalBlocksWorkTheModalForm) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "on-modal frmValor\n"
      "  expect caption frmValor \"Valor\"\n"
      "  type edtValor \"42\"\n"
      "  click btnOk\n"
      "end\n"
      "click btnDialogo\n"
      "expect text lblValor \"42\"\n"
      "expect focus btnDialogo\n");
  EXPECT_TRUE(r.Ok()) << output.str();
  EXPECT_EQ(r.passed, 3);
}

TEST_F(RunnerTest, AModalLeftOpenByItsBlockIsCancelled) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "on-modal frmValor\n"
      "  type edtValor \"42\"\n"
      "end\n"
      "click btnDialogo\n"
      "expect text lblValor \"\"\n");
  EXPECT_TRUE(r.Ok()) << output.str();
}

TEST_F(RunnerTest, AFailureInsideAModalBlockStopsTheRun) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "on-modal frmValor\n"
      "  expect text edtValor \"99\"\n"
      "  type edtValor \"42\"\n"
      "  click btnOk\n"
      "end\n"
      "click btnDialogo\n"
      "expect text lblValor \"\"\n");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.failed_line, 4);
  EXPECT_EQ(form->shown_value->Caption(), "");  // the block stopped before OK
  EXPECT_NE(output.str().find("8: ... stopped by the failure at line 4"), std::string::npos) << output.str();
}

TEST_F(RunnerTest, AnotherModalFormThanExpectedFails) {
  RunResult r = Run(
      "open\n"
      "type edtCodigo \"1\"\n"
      "on-modal frmSenha\n"
      "  click btnOk\n"
      "end\n"
      "click btnDialogo\n");
  EXPECT_EQ(r.failed_line, 3);
  EXPECT_EQ(r.failure, "expected the modal form frmSenha, found frmValor");
}

TEST_F(RunnerTest, OpenWithoutAModuleFails) {
  setup.open = nullptr;
  EXPECT_EQ(Run("open\n").failure, "no module to open");
}

TEST_F(RunnerTest, AModuleThatCannotLoadFailsTheOpenStep) {
  setup.load = [] { throw std::runtime_error("cannot load the module x.so"); };
  RunResult r = Run("open\n");
  EXPECT_EQ(r.failed_line, 1);
  EXPECT_EQ(r.failure, "error: cannot load the module x.so");
  EXPECT_EQ(form, nullptr);
}

}  // namespace
}  // namespace dxscript
