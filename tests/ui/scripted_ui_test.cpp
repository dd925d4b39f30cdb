#include "ui/scripted_ui.h"

#include <gtest/gtest.h>

#include "data/client_dataset.h"
#include "ui/application.h"
#include "ui/run_handler.h"

namespace {

class ScriptedUiTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUi(&ui); }
  void TearDown() override { SetUi(nullptr); }
  ScriptedUi ui;
};

TEST_F(ScriptedUiTest, MessageAnswersAreUsedInOrderThenDefaults) {
  ui.AnswerMessage(mrYes);
  EXPECT_EQ(MessageDlg("Confirma?", mtConfirmation, mbYesNo), mrYes);
  EXPECT_EQ(MessageDlg("Confirma de novo?", mtConfirmation, mbYesNo), mrNo);
  EXPECT_EQ(MessageDlg("Feito.", mtInformation, mbOK), mrOk);
  EXPECT_EQ(MessageDlg("Sair?", mtWarning, mbYesNoCancel), mrCancel);
  auto shown = ui.EventsOf(ScriptedUi::EventKind::Message);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].text, "Confirma?");
  EXPECT_EQ(shown[0].type, mtConfirmation);
  EXPECT_EQ(shown[0].buttons, mbYesNo);
  EXPECT_TRUE(shown[0].scripted);
  EXPECT_FALSE(shown[1].scripted);
  EXPECT_TRUE(ui.AnyUnexpected());
  EXPECT_EQ(ui.PendingAnswers(), 0u);
}

TEST_F(ScriptedUiTest, RunHandlerShowsMessagesButNeverTheSilentAbort) {
  EXPECT_TRUE(RunHandler([] {}));
  EXPECT_FALSE(RunHandler([] { throw EAbort(); }));
  EXPECT_FALSE(RunHandler([] { throw ENetError("Conexão recusada."); }));
  EXPECT_FALSE(RunHandler([] { throw std::runtime_error("falha"); }));
  EXPECT_EQ(ui.Exceptions(), (std::vector<std::string>{"Conexão recusada.", "falha"}));
}

TEST_F(ScriptedUiTest, PickListMovesToThePickedRowOrReportsAnEmptyList) {
  TClientDataSet data("qryFilial");
  data.AddField("CDFILIAL", FieldType::String, 4);
  data.CreateDataSet();
  EXPECT_FALSE(ui.PickList(data, "Filial", "Não há filial cadastrada."));
  EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Não há filial cadastrada."}));
  for (const char* code : {"0001", "0002", "0003"}) {
    data.Append();
    data.FieldByName("CDFILIAL").SetAsString(code);
    data.Post();
  }
  ui.AnswerPickRow(2);
  ui.DeclinePick();
  EXPECT_TRUE(ui.PickList(data, "Filial", "Não há filial cadastrada."));
  EXPECT_EQ(data.FieldByName("CDFILIAL").AsString(), "0002");
  EXPECT_FALSE(ui.PickList(data, "Filial", "Não há filial cadastrada."));
  EXPECT_EQ(data.FieldByName("CDFILIAL").AsString(), "0002");
  EXPECT_FALSE(ui.PickList(data, "Filial", ""));  // nothing queued
  EXPECT_FALSE(ui.EventsOf(ScriptedUi::EventKind::PickList).back().scripted);

  ui.AnswerFind([](TClientDataSet& d) { d.Locate("CDFILIAL", Variant("0003")); });
  ui.FindDialog(data);
  EXPECT_EQ(data.FieldByName("CDFILIAL").AsString(), "0003");
}

TEST_F(ScriptedUiTest, ProgressAndCursorAreRecorded) {
  ui.ShowProgress("Calculando o valor da multa.");
  EXPECT_TRUE(ui.ProgressVisible());
  ui.HideProgress();
  Application().SetCursor(crHourGlass);
  EXPECT_EQ(ui.Cursor(), crHourGlass);
  Application().SetCursor(crDefault);
  auto events = ui.Events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].text, "Calculando o valor da multa.");
  EXPECT_EQ(events[1].kind, ScriptedUi::EventKind::ProgressHidden);
  EXPECT_EQ(events[2].cursor, crHourGlass);
  EXPECT_FALSE(ui.ProgressVisible());
}

}  // namespace
