// distrato-docshot's own options taken out of a command line, and the UI
// that answers questions and picks rows in advance.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "answering_ui.h"
#include "data/client_dataset.h"
#include "data/packet.h"
#include "shot_choices.h"

namespace {

QStringList Args(std::initializer_list<const char*> words) {
  QStringList list{QStringLiteral("distrato-docshot")};
  for (const char* w : words) list << QString::fromUtf8(w);
  return list;
}

TEST(ShotChoicesTest, TakesItsOwnOptionsAndLeavesTheHostsInOrder) {
  QStringList arguments = Args({"--budget", "150", "--answer", "yes", "--party", "3", "--pick", "27", "--search",
                                "--substitute", "381.726.354-60", "--then-click", "sbtConfirmar,sbtOk",
                                "--dialog-type", "nedQtCotas=18", "--dialog-type", "edtObs=a=b", "--total",
                                "--account", "1", "--dialog-click", "sbtPesqOper", "--screenshot", "x.png"});
  QString error;
  const ShotChoices c = TakeShotChoices(arguments, error);
  EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_EQ(arguments, Args({"--budget", "150", "--party", "3", "--screenshot", "x.png"}));
  EXPECT_EQ(c.answer, mrYes);
  EXPECT_EQ(c.pick, 27);
  EXPECT_TRUE(c.search);
  EXPECT_TRUE(c.total);
  EXPECT_EQ(c.account, QStringLiteral("1"));
  EXPECT_EQ(c.substitute, QStringLiteral("381.726.354-60"));
  EXPECT_EQ(c.thenClicks, QStringList({QStringLiteral("sbtConfirmar"), QStringLiteral("sbtOk")}));
  ASSERT_EQ(c.dialogTexts.size(), 2);
  EXPECT_EQ(c.dialogTexts[0], qMakePair(QStringLiteral("nedQtCotas"), QStringLiteral("18")));
  // Only the first "=" separates the control from its text.
  EXPECT_EQ(c.dialogTexts[1], qMakePair(QStringLiteral("edtObs"), QStringLiteral("a=b")));
  EXPECT_EQ(c.dialogClick, QStringLiteral("sbtPesqOper"));
}

TEST(ShotChoicesTest, NothingAskedLeavesQuestionsAndListsToTheUser) {
  QStringList arguments = Args({"--budget", "101"});
  QString error;
  const ShotChoices c = TakeShotChoices(arguments, error);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_FALSE(c.answer.has_value());
  EXPECT_EQ(c.pick, 0);
  EXPECT_FALSE(c.search);
  EXPECT_TRUE(c.substitute.isEmpty());
  EXPECT_TRUE(c.thenClicks.isEmpty());
}

TEST(ShotChoicesTest, RefusesMissingAndMalformedValues) {
  const struct {
    std::initializer_list<const char*> words;
    const char* said;
  } cases[] = {
      {{"--answer", "maybe"}, "--answer takes yes or no"},
      {{"--answer"}, "--answer needs yes or no"},
      {{"--pick", "0"}, "--pick takes a row number from 1"},
      {{"--pick", "two"}, "--pick takes a row number from 1"},
      {{"--substitute"}, "--substitute needs a registration number"},
      {{"--then-click"}, "--then-click needs control names"},
      {{"--dialog-type", "nedQtCotas"}, "--dialog-type takes CONTROL=TEXT"},
      {{"--dialog-type", "=18"}, "--dialog-type takes CONTROL=TEXT"},
      {{"--account"}, "--account needs a bank account code"},
  };
  for (const auto& c : cases) {
    QStringList arguments = Args(c.words);
    QString error;
    TakeShotChoices(arguments, error);
    EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.said))) << c.said << " / " << error.toStdString();
    EXPECT_EQ(arguments.size(), 1) << c.said;  // the option and its value are both taken
  }
}

TEST(AnsweringUiTest, AnswersOnlyQuestionsThatOfferTheChosenButton) {
  AnsweringUi yes(nullptr, nullptr, mrYes, 0);
  EXPECT_EQ(yes.MessageDlg("Deseja cancelar o contratante?", mtConfirmation, mbYesNo), mrYes);
  AnsweringUi no(nullptr, nullptr, mrNo, 0);
  EXPECT_EQ(no.MessageDlg("Deseja cancelar o contratante?", mtConfirmation, mbYesNo), mrNo);
}

// Shows the message through `ui`, closing whatever modal box appears; true when one appeared.
bool ShownAsBox(AnsweringUi& ui, TMsgDlgType type, TMsgDlgButtons buttons, TModalResult& result) {
  bool shown = false;
  QTimer::singleShot(0, [&shown] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      shown = true;
      box->close();
    }
  });
  result = ui.MessageDlg("Cotas geradas com sucesso.", type, buttons);
  return shown;
}

TEST(AnsweringUiTest, LeavesMessagesThatAreNotTheChosenQuestionToTheUser) {
  AnsweringUi yes(nullptr, nullptr, mrYes, 0);
  TModalResult result = mrNone;
  EXPECT_TRUE(ShownAsBox(yes, mtInformation, mbOK, result));
  EXPECT_NE(result, mrYes);
  EXPECT_TRUE(ShownAsBox(yes, mtConfirmation, mbOKCancel, result));  // no Yes to give
  EXPECT_NE(result, mrYes);
}

TEST(AnsweringUiTest, PicksTheChosenRowAndRefusesOneTheListLacks) {
  DataPacket packet({{"NMFANTCLIE", FieldType::String, 30}});
  for (const char* name : {"Beatriz Moura Camargo", "Doce Festa Buffet", "Lucas Pereira Antunes"})
    packet.addRow({name});
  TClientDataSet candidates("cdsContSub");
  candidates.SetData(packet);

  AnsweringUi third(nullptr, nullptr, std::nullopt, 3);
  EXPECT_TRUE(third.PickList(candidates, "Contratante Substituto", "Não há contratante cadastrado."));
  EXPECT_EQ(candidates.FieldByName("NMFANTCLIE").AsString(), "Lucas Pereira Antunes");

  candidates.First();
  AnsweringUi beyond(nullptr, nullptr, std::nullopt, 4);
  EXPECT_FALSE(beyond.PickList(candidates, "Contratante Substituto", "Não há contratante cadastrado."));
  EXPECT_EQ(candidates.RecNo(), 1);  // nothing picked: the row stays
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
