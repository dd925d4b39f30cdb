// The substitution from the main screen, headless, against a server of each
// test's own on the demo budget 0000000150: the question and its answers, the
// substitute picked or typed, the plain substitution, the quota transfer with
// its dialog, the direct road, and a refusal that leaves the entry usable.

#include <gtest/gtest.h>

#include "dialogs/cli_dxr10906.h"
#include "dialogs/frm_transf_cotas.h"
#include "fresh_server.h"
#include "open_screen.h"
#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "operations/install.h"
#include "ui/application.h"
#include "ui/run_handler.h"
#include "ui/scripted_ui.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace {

using testing_support::FreshServer;
using Kind = ScriptedUi::EventKind;

const char* kQuestion = "Deseja cancelar o contratante e transferir o valor restante para o contratante substituto?";

class SubstitutionScreen : public ::testing::Test {
 protected:
  void TearDown() override { testing_support::CloseScreen(server); }

  TfrmDistrato& Open(const std::string& party) {
    server = std::make_unique<FreshServer>();
    SetUi(&ui);
    TfrmDistrato& f = testing_support::OpenScreenOnBudget(*server, "150");
    EXPECT_TRUE(f.cdsContratante.Locate("NMFANTCLIE", Variant(party), loCaseInsensitive)) << party;
    ui.Clear();
    return f;
  }

  void Click(TButtonFlat& b) { RunHandler([&] { b.Click(); }); }
  // A CPF as the user types it: 000.000.000-00.
  static std::string Formatted(const std::string& cpf) {
    return cpf.substr(0, 3) + "." + cpf.substr(3, 3) + "." + cpf.substr(6, 3) + "-" + cpf.substr(9);
  }
  std::string Party(TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }
  bool SubstituteEditable(TfrmDistrato& f) {
    return !f.dbgPadrao.Columns(f.dbgPadrao.ColumnIndexOf("NRINSJURCLIESUB")).ReadOnly();
  }
  std::vector<std::string> Errors() {
    std::vector<std::string> out;
    for (const auto& e : ui.EventsOf(Kind::Message))
      if (e.type == mtError) out.push_back(e.text);
    return out;
  }
  // Starts the substitution and answers the question.
  void StartNaming(TfrmDistrato& f) {
    ui.AnswerMessage(mrYes);
    Click(f.sbtCancContrat);
  }
  void PickSubstitute(TfrmDistrato& f, const std::string& name) {
    ui.AnswerPick([name](TClientDataSet& d) { return d.Locate("NMFANTCLIE", Variant(name), loCaseInsensitive); });
    f.dbgPadrao.UserEditButtonClick();
  }
  // Works the quota dialog: quotas and guests typed, then OK.
  void ConfirmQuotas(double quotas, double guests) {
    ui.DriveModal([this, quotas, guests](TForm& form) {
      auto& d = dynamic_cast<TfrmTransfCotas&>(form);
      shownValue = d.nedVrTransf.GetNumber();
      shownFrom = d.edtDeNmContr.Text();
      shownTo = d.edtParaNmContr.Text();
      d.nedQtCotas.SetNumber(quotas);
      d.nedQtConv.SetNumber(guests);
      d.sbtOk.Click();
    });
  }

  ScriptedUi ui;
  std::unique_ptr<FreshServer> server;
  double shownValue = -1;
  std::string shownFrom, shownTo;
};

TEST_F(SubstitutionScreen, YesOpensTheEntryAndAPickedSubstituteIsSubstituted) {
  TfrmDistrato& f = Open("Renata Schmitt Borges");
  ASSERT_TRUE(f.sbtCancContrat.Enabled());
  StartNaming(f);
  const auto asked = ui.EventsOf(Kind::Message);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, kQuestion);
  EXPECT_EQ(asked[0].type, mtConfirmation);
  EXPECT_EQ(f.cdsContratante.State(), dsEdit);
  EXPECT_TRUE(boCancela);
  EXPECT_TRUE(SubstituteEditable(f));
  EXPECT_TRUE(f.dbgPadrao.HasOption(dgEditing));
  EXPECT_EQ(f.dbgPadrao.SelectedField()->FieldName(), "NRINSJURCLIESUB");

  f.dbgPadraoColEnter(&f.dbgPadrao);  // the ellipsis shows in edit state
  PickSubstitute(f, "Eventos Sul Produções");
  EXPECT_EQ(Party(f, "NMFANTSUB"), "Eventos Sul Produções");
  EXPECT_EQ(Party(f, "CDCLICONTSUBORE"), "3101");
  EXPECT_EQ(stIdTpIJurClie, "J");

  ui.AnswerMessage(mrOk);
  Click(f.sbtConfirmar);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(ui.Messages().back(), "Troca de titularidade realizada com sucesso.");
  EXPECT_EQ(server->One("SELECT IDSITUCONTOREV || CDCLICONTSUBORE FROM CONTRATANTE WHERE CDCLIENTE = '3201'"),
            "CANCELADO3101");
  // Back on the same party, the entry closed and the panel usable.
  EXPECT_EQ(Party(f, "CDCLIENTE"), "3201");
  EXPECT_EQ(Party(f, "NMFANTSUB"), "Eventos Sul Produções");
  EXPECT_FALSE(boCancela);
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
  EXPECT_FALSE(SubstituteEditable(f));
  EXPECT_FALSE(f.dbgPadrao.HasOption(dgEditing));
  EXPECT_TRUE(f.rbtParcial.Enabled());
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_TRUE(ui.ShownOverProgress().empty()) << ui.ShownOverProgress().front();
}

TEST_F(SubstitutionScreen, NoLeavesTheListAsItWas) {
  TfrmDistrato& f = Open("Renata Schmitt Borges");
  ui.AnswerMessage(mrNo);
  Click(f.sbtCancContrat);
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
  EXPECT_FALSE(boCancela);
  EXPECT_EQ(f.dbgPadrao.Columns(f.dbgPadrao.ColumnIndexOf("NRINSJURCLIESUB")).ButtonStyle(), cbsNone);
  EXPECT_EQ(server->Calls("SubstituirContratante"), 0);
}

TEST_F(SubstitutionScreen, ATypedRegistrationIsLookedUpInTwoStepsAndReachesTheServerWithItsClientCode) {
  TfrmDistrato& f = Open("Renata Schmitt Borges");
  StartNaming(f);
  const std::string cpf = server->One("SELECT NRINSJURCLIE FROM CLIENTE WHERE CDCLIENTE = '3002'");
  stIdTpIJurClie.clear();
  f.dbgPadrao.UserSetCellText(cpf.substr(0, 3) + "." + cpf.substr(3, 3) + "." + cpf.substr(6, 3) + "-" +
                              cpf.substr(9));
  ui.AnswerMessage(mrOk);
  Click(f.sbtConfirmar);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(server->Calls("GetVdClie"), 2);  // the type first, then the adjusted number with it
  EXPECT_EQ(stIdTpIJurClie, "F");
  EXPECT_EQ(server->One("SELECT CDCLICONTSUBORE FROM CONTRATANTE WHERE CDCLIENTE = '3201'"), "3002");
}

TEST_F(SubstitutionScreen, ConfirmingWithoutASubstituteStopsAndKeepsTheEntry) {
  TfrmDistrato& f = Open("Renata Schmitt Borges");
  StartNaming(f);
  Click(f.sbtConfirmar);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Contratante substituto deve ser informado."});
  EXPECT_TRUE(boCancela);
  EXPECT_EQ(f.cdsContratante.State(), dsEdit);
  EXPECT_TRUE(SubstituteEditable(f));
  EXPECT_EQ(f.dbgPadrao.SelectedField()->FieldName(), "NRINSJURCLIESUB");
  EXPECT_EQ(server->Calls("SubstituirContratante"), 0);
}

TEST_F(SubstitutionScreen, AnUnregisteredRegistrationIsRefused) {
  TfrmDistrato& f = Open("Renata Schmitt Borges");
  StartNaming(f);
  f.dbgPadrao.UserSetCellText("111.111.111-11");
  Click(f.sbtConfirmar);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Cliente não cadastrado."});
  EXPECT_TRUE(boCancela);
}

TEST_F(SubstitutionScreen, TheQuotaHolderTransfersItsOpenValueThroughTheDialog) {
  TfrmDistrato& f = Open("Gustavo Ritter Paim");
  StartNaming(f);  // no substitute recorded: one is named first
  PickSubstitute(f, "Lucas Pereira Antunes");
  ConfirmQuotas(18, 25);
  ui.AnswerMessage(mrOk);
  Click(f.sbtConfirmar);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_DOUBLE_EQ(shownValue, 15000);  // only the open receivables
  EXPECT_EQ(shownFrom, "Gustavo Ritter Paim");
  EXPECT_EQ(shownTo, "Lucas Pereira Antunes");
  EXPECT_EQ(ui.Messages().back(), "Cotas geradas com sucesso.");
  EXPECT_EQ(server->One("SELECT VRRECECONTOREV || '/' || QTCONVCONTRAT || '/' || QTCOTACONTRAT FROM CONTRATANTE"
                        " WHERE CDCLIENTE = '3001'"),
            "1500000/25/18");
  EXPECT_EQ(server->Calls("SubstituirContratante"), 0);
  EXPECT_EQ(Party(f, "CDCLIENTE"), "3202");
  EXPECT_FALSE(boCancela);
  // Neither the dialog nor the messages come over the animation.
  EXPECT_TRUE(ui.ShownOverProgress().empty()) << ui.ShownOverProgress().front();
}

TEST_F(SubstitutionScreen, ARegistrationTypedOverAPickedSubstituteIsTheOneTheQuotasGoTo) {
  TfrmDistrato& f = Open("Gustavo Ritter Paim");
  StartNaming(f);
  PickSubstitute(f, "Lucas Pereira Antunes");
  f.dbgPadrao.UserSetCellText(Formatted(server->One("SELECT NRINSJURCLIE FROM CLIENTE WHERE CDCLIENTE = '3002'")));
  ConfirmQuotas(18, 25);
  ui.AnswerMessage(mrOk);
  Click(f.sbtConfirmar);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(shownTo, "Beatriz Moura Camargo");
  EXPECT_EQ(server->One("SELECT QTCOTACONTRAT FROM CONTRATANTE WHERE CDCLIENTE = '3002'"), "18");
  EXPECT_EQ(server->One("SELECT COUNT(*) FROM CONTRATANTE WHERE CDCLIENTE = '3001'"), "0");
}

TEST_F(SubstitutionScreen, ARefusedSubstitutionLeavesTheCommandsToTheCommandTable) {
  TfrmDistrato& f = Open("Renata Schmitt Borges");
  ASSERT_TRUE(f.sbtCancContrat.Enabled());
  StartNaming(f);
  // Camila is a party of the budget already: the server refuses her.
  f.dbgPadrao.UserSetCellText(Formatted(server->One("SELECT NRINSJURCLIE FROM CLIENTE WHERE CDCLIENTE = '3203'")));
  Click(f.sbtConfirmar);
  std::vector<std::string> shown = ui.Exceptions();
  for (const std::string& e : Errors()) shown.push_back(e);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("já é contratante deste orçamento"), std::string::npos) << shown[0];
  // The entry stays pending; the commands the table forbids stay off.
  EXPECT_TRUE(boCancela);
  EXPECT_EQ(f.cdsContratante.State(), dsEdit);
  EXPECT_FALSE(f.sbtCancContrat.Enabled());
  EXPECT_FALSE(f.sbtDistrato.Enabled());
  EXPECT_FALSE(f.mnuCancContrat.Enabled());
  EXPECT_FALSE(f.mnuDistrato.Enabled());
  EXPECT_TRUE(f.grbTipoDistrato.Enabled());
  EXPECT_TRUE(f.sbtCancelar.Enabled());
  EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(SubstitutionScreen, ACancelledQuotaDialogTellsAndClosesWithoutTransfer) {
  TfrmDistrato& f = Open("Gustavo Ritter Paim");
  StartNaming(f);
  PickSubstitute(f, "Lucas Pereira Antunes");
  ui.DriveModal([](TForm& form) { form.Close(); });
  Click(f.sbtConfirmar);
  EXPECT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors().front().find("Não foi possível realizar a troca de titularidade"), std::string::npos);
  EXPECT_EQ(server->Calls("TransfCotas"), 0);
  EXPECT_FALSE(boCancela);
  EXPECT_TRUE(f.rbtParcial.Enabled());
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
}

TEST_F(SubstitutionScreen, TheDirectRoadNeedsTheBankAccountOfAPartyWithSettlements) {
  TfrmDistrato& f = Open("Paulo Henrique Staub");
  ASSERT_GT(inCtBaixadas, 0);
  Click(f.sbtCancContrat);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Conta corrente deve ser informada."});
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
  EXPECT_EQ(server->Calls("SubstituirContratante"), 0);
}

TEST_F(SubstitutionScreen, TheRecordedSubstituteIsSubstitutedAtOnce) {
  TfrmDistrato& f = Open("Paulo Henrique Staub");
  ASSERT_TRUE(f.sbtCancContrat.Enabled());
  f.medCdReduCont.SetText("001");
  ui.AnswerMessage(mrOk);
  Click(f.sbtCancContrat);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Troca de titularidade realizada com sucesso."});
  EXPECT_EQ(server->One("SELECT IDORIGEMINCLUSAO FROM CONTRATANTE WHERE CDCLIENTE = '3003'"), "SUBSTITUICAO");
  EXPECT_EQ(Party(f, "CDCLIENTE"), "3204");
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
  EXPECT_EQ(f.medCdReduCont.Text(), "");  // the bank account is cleared after it
}

TEST_F(SubstitutionScreen, ARefusalIsShownInTheScreensWordsAndLeavesThePanelUsable) {
  TfrmDistrato& f = Open("Paulo Henrique Staub");
  server->OverrideMethod("SubstituirContratante", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("N_PARAM_PRODSUBSTITUICAO");
  });
  f.medCdReduCont.SetText("001");
  Click(f.sbtCancContrat);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("Não há produto parametrizado"), std::string::npos) << Errors()[0];
  EXPECT_TRUE(f.rbtParcial.Enabled());
  EXPECT_EQ(f.cdsContratante.State(), dsBrowse);
  EXPECT_FALSE(ui.ProgressVisible());
}

}  // namespace
