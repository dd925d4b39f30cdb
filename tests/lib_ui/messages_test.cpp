#include <gtest/gtest.h>

#include "data/exceptions.h"
#include "lib/crv_msg.h"
#include "lib/lib_ui_hooks.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "scripted_test.h"

namespace {

using MensErroTest = ScriptedTest;

TEST_F(MensErroTest, StopShowsTheErrorThenAbortsSilently) {
  EXPECT_THROW(MensErro("Filial deve ser informada.", true), EAbort);
  ASSERT_EQ(ui.Events().size(), 1u);
  const auto& shown = ui.Events()[0];
  EXPECT_EQ(shown.kind, ScriptedUi::EventKind::Message);
  EXPECT_EQ(shown.text, "Filial deve ser informada.");
  EXPECT_EQ(shown.type, mtError);
  EXPECT_EQ(shown.buttons, TMsgDlgButtons(mbOK));
}

TEST_F(MensErroTest, WithoutStopShowsAndReturns) {
  bool after = false;
  MensErro("Senha inválida.", false);
  after = true;
  EXPECT_TRUE(after);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::Message)[0].type, mtError);
}

using ShowMsgTest = ScriptedTest;

TEST_F(ShowMsgTest, CatalogueQuestionGoesThroughTheUiServiceAndReturnsTheButton) {
  InstallLibUiHooks();
  TMessages catalogue("msgPadrao");
  catalogue.Messages = {"CANC|Deseja cancelar a operação?"};
  ui.AnswerMessage(mrYes);
  ui.AnswerMessage(mrNo);
  EXPECT_EQ(catalogue.ShowMsg("CANC", mtConfirmation, static_cast<int>(TMsgDlgButtons(mbYesNo).bits), 0), 6);
  EXPECT_EQ(catalogue.ShowMsg("CANC", mtConfirmation, static_cast<int>(TMsgDlgButtons(mbYesNo).bits), 0), mrNo);
  ASSERT_EQ(ui.Events().size(), 2u);
  EXPECT_EQ(ui.Events()[0].text, "Deseja cancelar a operação?");
  EXPECT_EQ(ui.Events()[0].type, mtConfirmation);
  EXPECT_EQ(ui.Events()[0].buttons, mbYesNo);
}

TEST_F(ShowMsgTest, NoButtonsStillGivesADialogThatCanBeClosed) {
  InstallLibUiHooks();
  TMessages catalogue;
  EXPECT_EQ(catalogue.ShowMsg("X", 99, 0, 0), mrOk);
  EXPECT_EQ(ui.Events()[0].buttons, TMsgDlgButtons(mbOK));
  EXPECT_EQ(ui.Events()[0].type, mtCustom);
}

using ShowAviTest = ScriptedTest;

TEST_F(ShowAviTest, ShowsWithTextAndHidesOnce) {
  ActiveShowAvi(nullptr, 1, "Gerando orçamentos filhos.");
  EXPECT_TRUE(ui.ProgressVisible());
  EXPECT_EQ(ui.ProgressText(), "Gerando orçamentos filhos.");
  DeactiveShowAvi();
  EXPECT_FALSE(ui.ProgressVisible());
  // The error handler hides it again: nothing more happens.
  DeactiveShowAvi();
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::ProgressHidden).size(), 1u);
  EXPECT_FALSE(ShowAviActive());
}

TEST_F(ShowAviTest, HideWithoutShowIsHarmlessAndASecondShowChangesTheText) {
  DeactiveShowAvi();
  EXPECT_TRUE(ui.Events().empty());
  ActiveShowAvi(nullptr, 1);
  ActiveShowAvi(nullptr, 1, "Calculando o valor da multa.");
  EXPECT_EQ(ui.ProgressText(), "Calculando o valor da multa.");
  DeactiveShowAvi();
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_FALSE(ShowAviActive());
}

}  // namespace
