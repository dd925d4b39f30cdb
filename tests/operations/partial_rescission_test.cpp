// The partial rescission from the main screen, headless, against a server of
// each test's own: the whole road, the quota refusal, refusals in the
// screen's words, a cancelled dialog, an unexpected answer and a server that
// stops answering.

#include <gtest/gtest.h>

#include "dialogs/frm_conf_valores.h"
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

const char* kTrocaNReali =
    "O distrato parcial não pode ser realizado para o contratante posicionado. Para realizar o distrato é "
    "necessário transferir as cotas para outro contratante (troca de titularidade). Operação bloqueada.";

class PartialRescission : public ::testing::Test {
 protected:
  void TearDown() override { testing_support::CloseScreen(server); }

  // Starts the server (after `sql` ran on its database), opens the screen on
  // budget 101 and makes the party of that name current.
  TfrmDistrato& Open(const std::string& party, const std::string& sql = "") {
    server = std::make_unique<FreshServer>(sql);
    SetUi(&ui);
    TfrmDistrato& f = testing_support::OpenScreenOnBudget(*server, "101");
    EXPECT_TRUE(f.cdsContratante.Locate("NMFANTCLIE", Variant(party), loCaseInsensitive)) << party;
    ui.Clear();
    return f;
  }

  // The user's click: exceptions end at the handler boundary, as at the screen.
  void ClickDistrato(TfrmDistrato& f) { RunHandler([&] { f.sbtDistrato.Click(); }); }

  // Answers the values dialog: types `negotiated` into the negotiated value
  // and confirms.
  void ConfirmValues(double negotiated) {
    ui.DriveModal([this, negotiated](TForm& form) {
      auto& d = dynamic_cast<TfrmConfValores&>(form);
      shownCalculated = d.frmDistrato.cdsValores.FieldByName("VRORIGRECNOEDIT").AsFloat();
      d.frmDistrato.cdsValores.Edit();
      d.frmDistrato.cdsValores.FieldByName("VRORIGREC").SetAsFloat(negotiated);
      d.frmDistrato.cdsValores.Post();
      d.sbtOk.Click();
    });
  }

  std::string Party(TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }
  std::vector<std::string> ProgressTexts() {
    std::vector<std::string> out;
    for (const auto& e : ui.EventsOf(Kind::ProgressShown)) out.push_back(e.text);
    return out;
  }
  std::vector<ScriptedUi::Event> Errors() {
    std::vector<ScriptedUi::Event> out;
    for (const auto& e : ui.EventsOf(Kind::Message))
      if (e.type == mtError) out.push_back(e);
    return out;
  }

  ScriptedUi ui;
  std::unique_ptr<FreshServer> server;
  double shownCalculated = -1;
};

TEST_F(PartialRescission, TheWholeRoadRecordsTheRescissionAndComesBackToTheParty) {
  TfrmDistrato& f = Open("Ana Paula Ferreira");
  ASSERT_TRUE(f.sbtDistrato.Enabled());
  ConfirmValues(1500);
  ui.AnswerMessage(mrOk);
  ClickDistrato(f);

  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(ProgressTexts(), (std::vector<std::string>{"Calculando o valor da multa.", "Gerando orçamentos filhos."}));
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_DOUBLE_EQ(shownCalculated, 1600);
  const auto messages = ui.EventsOf(Kind::Message);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Orçamentos filhos foram gerados com sucesso.");
  EXPECT_EQ(messages[0].type, mtInformation);

  // The server holds what was confirmed, in cents; the refund went with its sign.
  EXPECT_EQ(server->One("SELECT VRORIGREC || '/' || VRMULTA || '/' || GERACTPAGAR FROM DISTRATOPARCIAL"
                        " WHERE NRORCAEVENTO = '0000000101'"),
            "150000/240000/CNTPAGAR");
  // The list is the server's again, on the same party, now in process.
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1001");
  EXPECT_EQ(Party(f, "NRSEQORCAEVE"), "01");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "S");
  EXPECT_EQ(Party(f, "IDSITUCONTOREV"), "CANCELADO");
  EXPECT_TRUE(f.sbtConsolidaDistrato.Enabled());
  EXPECT_FALSE(f.sbtDistrato.Enabled());
}

TEST_F(PartialRescission, ThePartyIsFoundAgainAfterTheReloadWhereverTheListPutsIt) {
  // Ana's trade name now sorts her last: the reload alone would not bring her back.
  TfrmDistrato& f = Open("Zuleica Ana", "UPDATE CLIENTE SET NMFANTCLIE = 'Zuleica Ana' WHERE CDCLIENTE = '1001'");
  ASSERT_GT(f.cdsContratante.RecNo(), 1);
  ConfirmValues(1600);
  ui.AnswerMessage(mrOk);
  ClickDistrato(f);
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1001");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "S");
}

TEST_F(PartialRescission, AQuotaHolderWithoutTransferIsRefusedBeforeAnythingIsPriced) {
  TfrmDistrato& f = Open("Juliana Barbosa Teixeira");
  const int reloads = server->Calls("GetContratante");
  ClickDistrato(f);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text, kTrocaNReali);
  EXPECT_EQ(server->Calls("GetContratRepetSeq"), 1);
  EXPECT_EQ(server->Calls("ConfirmaValores"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads);
  EXPECT_TRUE(ui.EventsOf(Kind::Modal).empty());
  EXPECT_TRUE(ui.Exceptions().empty());
  EXPECT_FALSE(f.sbtCancContrat.Enabled());
}

TEST_F(PartialRescission, AQuotaHolderInAnotherSequenceGoesOn) {
  TfrmDistrato& f = Open("Juliana Barbosa Teixeira");
  server->OverrideMethod("GetContratRepetSeq", [](std::vector<Variant>&, FreshServer&) { return Variant(true); });
  ClickDistrato(f);
  EXPECT_EQ(server->Calls("ConfirmaValores"), 1);
  // She paid nothing: the server's own refusal, in the screen's words.
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text,
            "Distrato não pode ser realizado, pois não há conta a receber baixada. Portanto, não há percentual de "
            "multa a ser aplicado sobre o valor pago.");
}

TEST_F(PartialRescission, ARefusalWithAParameterShowsItInTheText) {
  TfrmDistrato& f = Open("Ana Paula Ferreira", "DELETE FROM PERCMULTADISTRATO WHERE CDFILIAL = '0001' AND VRPERCPAGOINI = 30");
  const int reloads = server->Calls("GetContratante");
  ClickDistrato(f);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text, "Não há percentual de multa parametrizado para o percentual pago de 33,33. Operação bloqueada.");
  EXPECT_EQ(ProgressTexts(), std::vector<std::string>{"Calculando o valor da multa."});
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_TRUE(ui.Exceptions().empty());
  EXPECT_TRUE(ui.EventsOf(Kind::Modal).empty());
  EXPECT_EQ(server->Calls("GetContratante"), reloads);
}

TEST_F(PartialRescission, ABareKeyRefusalOfDistratoShowsItsTextAndChangesNothing) {
  TfrmDistrato& f = Open("Ana Paula Ferreira");
  server->OverrideMethod("Distrato", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("N_PARAM_CONTA_FORN");
  });
  const int reloads = server->Calls("GetContratante");
  ConfirmValues(1600);
  ClickDistrato(f);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text,
            "Não é possível realizar o distrato, pois existem contas baixadas para os fornecedores do orçamento. "
            "Operação bloqueada.");
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_EQ(server->Calls("GetContratante"), reloads);
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "N");
}

TEST_F(PartialRescission, AnErrorThatIsNoRefusalPassesOnUnchanged) {
  TfrmDistrato& f = Open("Ana Paula Ferreira");
  server->OverrideMethod("Distrato", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("Os valores do contratante foram alterados por outro operador.");
  });
  ConfirmValues(1600);
  ClickDistrato(f);
  EXPECT_TRUE(Errors().empty());
  ASSERT_EQ(ui.Exceptions().size(), 1u);
  EXPECT_EQ(ui.Exceptions()[0], "Os valores do contratante foram alterados por outro operador.");
  EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(PartialRescission, ACancelledDialogChangesNothingAndStillReloads) {
  TfrmDistrato& f = Open("Ana Paula Ferreira");
  const int reloads = server->Calls("GetContratante");
  ui.DriveModal([](TForm& form) { dynamic_cast<TfrmConfValores&>(form).sbtCancelar.Click(); });
  ClickDistrato(f);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text, "Orçamentos filhos não foram gerados.");
  EXPECT_EQ(server->Calls("Distrato"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1001");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "N");
  EXPECT_EQ(server->One("SELECT COUNT(*) FROM DISTRATOPARCIAL WHERE NRORCAEVENTO = '0000000101'"), "0");
  EXPECT_TRUE(ui.Exceptions().empty());
}

TEST_F(PartialRescission, ANonEmptyDistratoPayloadShowsNoSuccessButReloads) {
  TfrmDistrato& f = Open("Ana Paula Ferreira");
  server->OverrideMethod("Distrato", [](std::vector<Variant>&, FreshServer&) { return Variant("aviso"); });
  const int reloads = server->Calls("GetContratante");
  ConfirmValues(1600);
  ClickDistrato(f);
  EXPECT_TRUE(ui.EventsOf(Kind::Message).empty());
  EXPECT_TRUE(ui.Exceptions().empty());
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1001");
}

TEST_F(PartialRescission, AServerThatStopsAnsweringLeavesNoAnimationAndTheListAsTheServerHasIt) {
  TfrmDistrato& f = Open("Ana Paula Ferreira");
  // The rescission is recorded, then the answer never comes.
  server->OverrideMethod("Distrato", [](std::vector<Variant>& args, FreshServer& s) {
    s.Forward("Distrato", args);
    s.Hang();
    return Variant("");
  });
  f.netDistrato.SetTimeoutMs(1000);
  ConfirmValues(1600);
  ClickDistrato(f);
  ASSERT_EQ(ui.Exceptions().size(), 1u);
  EXPECT_FALSE(ui.ProgressVisible());
  EXPECT_TRUE(ui.EventsOf(Kind::Message).empty());
  EXPECT_EQ(Party(f, "CDCLIENTE"), "1001");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "S");
}

}  // namespace
