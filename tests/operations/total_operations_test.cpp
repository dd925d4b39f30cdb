// The total rescission and the consolidation from the main screen, headless,
// against a server of each test's own: every road, every stop and what the
// user sees at each.

#include <gtest/gtest.h>

#include "dialogs/cli_dxr10901.h"
#include "dialogs/cli_dxr10903.h"
#include "dialogs/frm_conf_valores.h"
#include "dialogs/frm_conf_vr_contrat.h"
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

class ScreenRoads : public ::testing::Test {
 protected:
  void TearDown() override { testing_support::CloseScreen(server); }

  // The screen on `budget`, with the party of that trade name current and
  // the rescission type chosen.
  TfrmDistrato& Open(const std::string& budget, const std::string& party, bool total,
                     const std::string& sql = "") {
    server = std::make_unique<FreshServer>(sql);
    SetUi(&ui);
    TfrmDistrato& f = testing_support::OpenScreenOnBudget(*server, budget);
    (total ? f.rbtTotal : f.rbtParcial).UserClick();
    EXPECT_TRUE(f.cdsContratante.Locate("NMFANTCLIE", Variant(party), loCaseInsensitive)) << party;
    ui.Clear();
    return f;
  }
  void BankAccount(TfrmDistrato& f, const std::string& code) {
    f.medCdReduCont.SetFocus();
    f.medCdReduCont.SetText(code);
    f.dbgPadrao.UserSetFocus();
    ui.Clear();
  }

  void ClickDistrato(TfrmDistrato& f) { RunHandler([&] { f.sbtDistrato.Click(); }); }
  void ClickConsolida(TfrmDistrato& f) { RunHandler([&] { f.sbtConsolidaDistrato.Click(); }); }

  // Leaves the contractor values dialog by its exit command, noting the step
  // it was opened in and how many parties it listed.
  void LeaveContractorDialog() {
    ui.DriveModal([this](TForm& form) {
      auto& d = dynamic_cast<TfrmConfVrContrat&>(form);
      dialogEditable = Cli_DXR10903::boEditaTela;
      dialogRows = d.cdsVrContratantes.RecordCount();
      d.mnuSair.UserClick();
    });
  }
  void ConfirmValuesDialog() {
    ui.DriveModal([this](TForm& form) {
      auto& d = dynamic_cast<TfrmConfValores&>(form);
      dialogEditable = Cli_DXR10901::boEditaTela;
      d.sbtOk.Click();
    });
  }

  std::string Party(TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }
  std::vector<std::string> ProgressTexts() {
    std::vector<std::string> out;
    for (const auto& e : ui.EventsOf(Kind::ProgressShown))
      if (!e.text.empty()) out.push_back(e.text);  // the reload's own animation says nothing
    return out;
  }
  std::vector<std::string> MessagesOf(TMsgDlgType type) {
    std::vector<std::string> out;
    for (const auto& e : ui.EventsOf(Kind::Message))
      if (e.type == type) out.push_back(e.text);
    return out;
  }

  ScriptedUi ui;
  std::unique_ptr<FreshServer> server;
  bool dialogEditable = false;
  int dialogRows = -1;
};

// --- the total rescission ----------------------------------------------------

TEST_F(ScreenRoads, TotalRescissionRecordsEveryPartyAndReloadsOnTheSameRow) {
  TfrmDistrato& f = Open("104", "Marina Castilhos Reis", true);
  ASSERT_TRUE(f.sbtDistrato.Enabled());
  ui.AnswerMessage(mrYes);  // "Deseja gerar os orçamentos filhos?"
  LeaveContractorDialog();
  ui.AnswerMessage(mrOk);
  ClickDistrato(f);

  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_TRUE(dialogEditable);
  EXPECT_EQ(dialogRows, 5);  // Sofia's two contracts are two rows
  EXPECT_EQ(ProgressTexts(), (std::vector<std::string>{"Calculando o valor da multa.", "Gerando orçamentos filhos."}));
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_EQ(MessagesOf(mtInformation), (std::vector<std::string>{"Deseja gerar os orçamentos filhos?",
                                                                  "Orçamentos filhos foram gerados com sucesso."}));
  EXPECT_EQ(server->One("SELECT COUNT(*) FROM CONTRATANTE WHERE NRORCAEVENTO = '0000000104'"
                        " AND IDTPDISTRATOREALI = 'TOTAL' AND IDCONTPROCESDIST = 'S'"),
            "10");
  // The reload came back to the row that was current, now in process.
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1024");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "S");
  EXPECT_FALSE(f.sbtCancContrat.Enabled());
}

TEST_F(ScreenRoads, TheWholeListTravelsToBothCallsFilterOrNot) {
  TfrmDistrato& f = Open("104", "Lucas Fontoura Dias", true);
  f.cdsContratante.SetFilter("CDCLIENTE = '1023'");
  f.cdsContratante.SetFiltered(true);
  std::vector<std::size_t> sent;
  for (const char* method : {"ConfValTodosCont", "DistratoTotal"})
    server->OverrideMethod(method, [&sent, method](std::vector<Variant>& args, FreshServer& s) {
      sent.push_back(args.at(4).asPacket().rowCount());
      return s.Forward(method, args);
    });
  ui.AnswerMessage(mrYes);
  LeaveContractorDialog();
  ui.AnswerMessage(mrOk);
  ClickDistrato(f);
  EXPECT_EQ(sent, (std::vector<std::size_t>{5, 5}));
  EXPECT_TRUE(ui.Exceptions().empty());
}

TEST_F(ScreenRoads, DecliningTheChildBudgetsReloadsAndSaysSoWithoutStopping) {
  TfrmDistrato& f = Open("104", "Lucas Fontoura Dias", true);
  const int reloads = server->Calls("GetContratante");
  ui.AnswerMessage(mrNo);
  LeaveContractorDialog();
  ClickDistrato(f);
  EXPECT_EQ(MessagesOf(mtError), std::vector<std::string>{"Orçamentos filhos não foram gerados."});
  EXPECT_EQ(server->Calls("DistratoTotal"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "N");
  EXPECT_TRUE(ui.Exceptions().empty());
}

TEST_F(ScreenRoads, ANonEmptyTotalPayloadEndsWithoutAMessage) {
  TfrmDistrato& f = Open("104", "Lucas Fontoura Dias", true);
  server->OverrideMethod("DistratoTotal", [](std::vector<Variant>&, FreshServer&) { return Variant("aviso"); });
  const int reloads = server->Calls("GetContratante");
  ui.AnswerMessage(mrYes);
  LeaveContractorDialog();
  ClickDistrato(f);
  EXPECT_EQ(MessagesOf(mtInformation), std::vector<std::string>{"Deseja gerar os orçamentos filhos?"});
  EXPECT_TRUE(MessagesOf(mtError).empty());
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
}

TEST_F(ScreenRoads, ARefusedTotalRescissionIsShownInTheScreensWordsAndNotReloaded) {
  TfrmDistrato& f = Open("104", "Lucas Fontoura Dias", true);
  server->OverrideMethod("DistratoTotal", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("N_PARAM_CONTA_FORN");
  });
  const int reloads = server->Calls("GetContratante");
  ui.AnswerMessage(mrYes);
  LeaveContractorDialog();
  ClickDistrato(f);
  EXPECT_EQ(MessagesOf(mtError), std::vector<std::string>{
                                     "Não é possível realizar o distrato, pois existem contas baixadas para os "
                                     "fornecedores do orçamento. Operação bloqueada."});
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_EQ(server->Calls("GetContratante"), reloads);
}

// --- the contractor values dialog on the way ---------------------------------

TEST_F(ScreenRoads, EachLoadOfTheDialogFetchesTheCurrentPartysPlanOnce) {
  TfrmDistrato& f = Open("105", "Valentina Rech Souza", true);
  BankAccount(f, "1");
  int onOpen = -1, onConfirm = -1;
  ui.DriveModal([&](TForm& form) {
    auto& d = dynamic_cast<TfrmConfVrContrat&>(form);
    onOpen = server->Calls("GetFormaPgto");
    d.dbgContratantes.UserSetFocus();
    d.rbtFixo.UserClick();
    const int beforeConfirm = server->Calls("GetFormaPgto");
    d.sbtConfirmar.UserClick();
    onConfirm = server->Calls("GetFormaPgto") - beforeConfirm;
    d.UserClose();
  });
  ClickConsolida(f);
  EXPECT_EQ(onOpen, 1);
  EXPECT_EQ(onConfirm, 1);
}

TEST_F(ScreenRoads, InstallmentsGeneratedAndNotConfirmedLeaveTheStoredPlanAsItWas) {
  TfrmDistrato& f = Open("105", "Thiago Brust Oliveira", true);
  BankAccount(f, "1");
  auto generate = [](TfrmConfVrContrat& d, const char* count) {
    d.rbtFormaPgto.UserClick();
    d.edtQtParc.UserSetFocus();
    d.edtQtParc.UserType(count);
    d.edtPrazo.UserSetFocus();
    d.edtPrazo.UserType("30");
    d.dbgFormaPgto.UserSetFocus();
    d.sbtParcAuto.UserClick();
  };
  // Thiago's refund confirmed in two installments, then regenerated in
  // three and the dialog closed without confirming.
  ui.DriveModal([&](TForm& form) {
    auto& d = dynamic_cast<TfrmConfVrContrat&>(form);
    generate(d, "2");
    d.sbtConfirmar.UserClick();
    generate(d, "3");
    EXPECT_EQ(d.cdsFormaPgto.RecordCount(), 3);
    d.UserClose();
  });
  ClickConsolida(f);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(server->Calls("DeletaFormaPgto"), 0);
  EXPECT_EQ(server->One("SELECT IDTPFORMAPGTO FROM CONTRATDISTRATO WHERE CDCLIENTE = '1027'"), "V");
  EXPECT_EQ(server->One("SELECT COUNT(*) || '/' || SUM(VRPARCELA) FROM FORMAPGTO WHERE CDCLIENTE = '1027'"),
            "2/300000");  // cents
}

// --- consolidation of a partial rescission ----------------------------------

TEST_F(ScreenRoads, PartialConsolidationGeneratesTheAccountAndTidiesUp) {
  TfrmDistrato& f = Open("101", "Carla Souza Martins", false);
  ASSERT_TRUE(f.sbtConsolidaDistrato.Enabled());
  BankAccount(f, "1");
  std::string thirdArgument;
  server->OverrideMethod("ConfirmaValores", [&](std::vector<Variant>& args, FreshServer& s) {
    thirdArgument = args.at(2).asText();
    return s.Forward("ConfirmaValores", args);
  });
  ConfirmValuesDialog();
  ui.AnswerMessage(mrOk);
  ClickConsolida(f);

  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(thirdArgument, "seq");
  EXPECT_FALSE(dialogEditable);
  EXPECT_EQ(ProgressTexts(),
            (std::vector<std::string>{"Calculando o valor da multa.", "Consolidando distrato. Gerando contas."}));
  EXPECT_EQ(MessagesOf(mtInformation), std::vector<std::string>{"Consolidação do distrato realizada com sucesso."});
  // Carla paid 4,000.00 of 12,000.00: 20 % fine, 1,600.00 refunded.
  EXPECT_EQ(server->One("SELECT SUM(VRORIGPAG) || IDORIGNFORCA FROM CONTAPAGAR WHERE CDCLIENTE = '1003'"), "160000I");  // cents
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1003");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "C");
  EXPECT_EQ(f.medCdReduCont.Text(), "");
  EXPECT_EQ(f.edtCdBanco.Text(), "");
  EXPECT_EQ(f.edtContCorr.Text(), "");
}

TEST_F(ScreenRoads, PartialConsolidationRefusedInTheDialogStillTidiesUp) {
  TfrmDistrato& f = Open("101", "Carla Souza Martins", false);
  BankAccount(f, "1");
  ui.DriveModal([](TForm& form) { dynamic_cast<TfrmConfValores&>(form).sbtCancelar.Click(); });
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError), std::vector<std::string>{"Distrato não consolidado. Operação cancelada."});
  EXPECT_EQ(server->Calls("ConsolidaDistrato"), 0);
  EXPECT_EQ(f.medCdReduCont.Text(), "");
  EXPECT_EQ(f.edtAgencia.Text(), "");
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1003");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "S");
}

TEST_F(ScreenRoads, PartialConsolidationStops) {
  // Settled receivables and no bank account.
  TfrmDistrato& f = Open("101", "Carla Souza Martins", false);
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError), std::vector<std::string>{"Conta corrente deve ser informada."});
  EXPECT_EQ(server->Calls("ConfirmaValores"), 0);
  EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(ScreenRoads, APartyOfATotalRescissionIsRefusedUnderParcialBeforeAnyCall) {
  TfrmDistrato& f = Open("105", "Thiago Brust Oliveira", false);
  const int questions = server->Calls("VdOrcaAprovado");
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError),
            std::vector<std::string>{"O contratante Thiago Brust Oliveira está em processo de distrato total. Apenas "
                                     "contratantes em processo de distrato parcial podem ter o distrato consolidado "
                                     "com o tipo de distrato marcado como 'Parcial'. Operação bloqueada."});
  EXPECT_EQ(server->Calls("VdOrcaAprovado"), questions);
  EXPECT_EQ(server->Calls("ConfirmaValores"), 0);
}

TEST_F(ScreenRoads, AnUnapprovedChildBudgetStopsTheConsolidation) {
  TfrmDistrato& f = Open("106", "Bianca Toledo Ritter", false);
  BankAccount(f, "1");
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError),
            std::vector<std::string>{"Orçamento filho gerado pelo distrato não foi aprovado. Operação bloqueada."});
  EXPECT_EQ(server->Calls("ConfirmaValores"), 0);
  EXPECT_EQ(f.medCdReduCont.Text(), "001");
}

TEST_F(ScreenRoads, ARefusedApprovalCheckShowsTheServersMessage) {
  TfrmDistrato& f = Open("101", "Carla Souza Martins", false);
  server->OverrideMethod("VdOrcaAprovado", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("VdOrcaAprovado: orçamento 0000000101 em manutenção.");
  });
  BankAccount(f, "1");
  ClickConsolida(f);
  EXPECT_EQ(ui.Exceptions(), std::vector<std::string>{"VdOrcaAprovado: orçamento 0000000101 em manutenção."});
  EXPECT_EQ(server->Calls("ConfirmaValores"), 0);
  EXPECT_FALSE(ui.ProgressVisible());
}

// --- consolidation of a total rescission ------------------------------------

TEST_F(ScreenRoads, TotalConsolidationGeneratesEveryPartysAccount) {
  TfrmDistrato& f = Open("105", "Valentina Rech Souza", true);
  ASSERT_TRUE(f.sbtConsolidaDistrato.Enabled());
  BankAccount(f, "1");
  ui.AnswerMessage(mrYes);  // "Deseja gerar as contas ...?"
  LeaveContractorDialog();
  ui.AnswerMessage(mrOk);
  ClickConsolida(f);

  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_FALSE(dialogEditable);
  EXPECT_EQ(dialogRows, 3);  // Valentina's two contracts are two rows
  EXPECT_EQ(MessagesOf(mtInformation),
            (std::vector<std::string>{"Deseja gerar as contas para os contratantes envolvidos no distrato?",
                                      "Consolidação do distrato realizada com sucesso."}));
  EXPECT_EQ(server->One("SELECT COUNT(*) FROM CONTARECEBER WHERE CDCLIENTE = '1028' AND IDORIGNFORCA = 'T'"), "1");
  EXPECT_EQ(server->One("SELECT COUNT(*) FROM CONTAPAGAR WHERE CDCLIENTE = '1027' AND IDORIGNFORCA = 'T'"), "1");
  // The filter test left the first party in process current; the reload
  // comes back to it.
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1027");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "C");
  EXPECT_FALSE(f.cdsContratante.Filtered());
  // The total branch keeps the bank account and leaves sbtCancContrat alone.
  EXPECT_EQ(f.medCdReduCont.Text(), "001");
}

TEST_F(ScreenRoads, TotalConsolidationAlwaysWantsTheBankAccount) {
  TfrmDistrato& f = Open("105", "Valentina Rech Souza", true);
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError), std::vector<std::string>{"Conta corrente deve ser informada."});
  EXPECT_EQ(server->Calls("ConfValTodosCont"), 0);
}

TEST_F(ScreenRoads, NothingLeftToConsolidateOnlySaysSoAndReloadsUnfiltered) {
  TfrmDistrato& f = Open("106", "Bianca Toledo Ritter", true);
  BankAccount(f, "1");
  const int reloads = server->Calls("GetContratante");
  ui.AnswerMessage(mrOk);
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtInformation),
            std::vector<std::string>{"Distrato total já realizado para os contratantes que se encontravam em processo "
                                     "de distrato total."});
  EXPECT_EQ(server->Calls("ConfValTodosCont"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
  EXPECT_FALSE(f.cdsContratante.Filtered());
  EXPECT_EQ(f.cdsContratante.RecordCount(), 3);
}

TEST_F(ScreenRoads, DecliningTheAccountsDoesNotConsolidate) {
  TfrmDistrato& f = Open("105", "Valentina Rech Souza", true);
  BankAccount(f, "1");
  ui.AnswerMessage(mrNo);
  LeaveContractorDialog();
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError), std::vector<std::string>{"Distrato não consolidado. Operação cancelada."});
  EXPECT_EQ(server->Calls("ConsolidaDistratoTotal"), 0);
  EXPECT_FALSE(f.cdsContratante.Filtered());
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "S");
}

TEST_F(ScreenRoads, ARefusedTotalConsolidationIsTranslatedWithItsParameter) {
  TfrmDistrato& f = Open("105", "Valentina Rech Souza", true);
  BankAccount(f, "1");
  server->OverrideMethod("ConsolidaDistratoTotal", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("N_PARAM_TPCTREC|501");
  });
  ui.AnswerMessage(mrYes);
  LeaveContractorDialog();
  ClickConsolida(f);
  EXPECT_EQ(MessagesOf(mtError),
            std::vector<std::string>{"Não há tipo de conta a receber parametrizado para o tipo de operação (501)."});
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_TRUE(ui.Exceptions().empty());
}

}  // namespace
