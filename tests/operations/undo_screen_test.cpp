// "Cancela Distrato" from the main screen, headless, against a server of each
// test's own: the password dialog's road to the server, the stops before the
// question, the commission check's arguments, and a server that ends the
// undo with "OK".

#include <gtest/gtest.h>

#include "dialogs/cli_dxr10905.h"
#include "dialogs/frm_conf_senha_dist.h"
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

const char* kUndone = "Consolidação do distrato cancelada com sucesso.";

class UndoScreen : public ::testing::Test {
 protected:
  void TearDown() override { testing_support::CloseScreen(server); }

  TfrmDistrato& Open(const std::string& budget, const std::string& party, bool total = false) {
    server = std::make_unique<FreshServer>();
    SetUi(&ui);
    // The demo's plain operator, who undoes only with a supervisor's approval.
    TfrmDistrato& f = testing_support::OpenScreenOnBudget(*server, budget, "OPERADOR", "OPERADOR1");
    if (total) f.rbtTotal.UserClick();
    EXPECT_TRUE(f.cdsContratante.Locate("NMFANTCLIE", Variant(party), loCaseInsensitive)) << party;
    ui.Clear();
    return f;
  }

  // The password dialog worked as the user does.
  void Confirm(const std::string& code, const std::string& password) {
    ui.DriveModal([code, password](TForm& form) {
      auto& d = dynamic_cast<TfrmConfSenhaDist&>(form);
      d.edtOperador.UserSetFocus();
      d.edtOperador.UserSetText(code);
      d.edtSenha.UserSetFocus();
      d.edtSenha.UserSetText(password);
      d.sbtConfirma.UserClick();
    });
  }
  void Undo(TfrmDistrato& f) { RunHandler([&] { f.sbtCancelaDistrato.Click(); }); }
  std::string Party(TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }

  ScriptedUi ui;
  std::unique_ptr<FreshServer> server;
};

TEST_F(UndoScreen, ACancelledPasswordDialogStopsWithItsMessageAndOnlyReloads) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  const int reloads = server->Calls("GetContratante");
  ui.DriveModal([](TForm& form) { form.Close(); });
  Undo(f);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cancelamento do distrato só é possível caso um(a) supervisor(a) "
                                                    "ou gerente informe sua senha. Operação bloqueada."});
  EXPECT_EQ(server->Calls("Vd_ExistComisGerada") + server->Calls("DesfazerDistrato"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
  EXPECT_TRUE(Cli_DXR10905::stOperador.empty());
}

TEST_F(UndoScreen, AnEmptyPasswordIsRefusedWithoutAskingTheServer) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  ui.DriveModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmConfSenhaDist&>(form);
    d.edtOperador.UserSetFocus();
    d.edtOperador.UserSetText("gerente");
    d.sbtConfirma.UserClick();
    EXPECT_EQ(d.ActiveControl(), &d.edtSenha);
    d.sbtCancel.UserClick();
  });
  Undo(f);
  EXPECT_EQ(ui.Messages().front(), "Senha inválida.");
  EXPECT_EQ(server->Calls("ConfirmaSenhaOperador"), 0);
  // Leaving the code and confirming each look the operator up.
  EXPECT_EQ(server->Calls("GetOperador"), 2);
}

TEST_F(UndoScreen, APartialUndoOfAPartyInATotalRescissionStopsBeforeTheCommissionCheck) {
  TfrmDistrato& f = Open("172", "Tatiana Moraes Lenz");
  Confirm("SUPERVISOR", "distrato");
  const int reloads = server->Calls("GetContratante");
  Undo(f);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].find("O contratante Tatiana Moraes Lenz está em processo de distrato total."),
            std::string::npos);
  EXPECT_EQ(server->Calls("Vd_ExistComisGerada"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads) << "a stop does not reload";
}

TEST_F(UndoScreen, TheTotalCommissionCheckSendsTheCurrentRowsClientBeforeTheQuestion) {
  TfrmDistrato& f = Open("172", "Ulisses Carvalho Pinto", true);
  std::vector<Variant> sent;
  server->OverrideMethod("Vd_ExistComisGerada", [&sent](std::vector<Variant>& args, FreshServer&) {
    sent = args;
    return Variant(false);
  });
  Confirm("GERENTE", "GERENTE1");
  Undo(f);
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[2].asText(), "3304");
  EXPECT_EQ(sent[3].asText(), "TOTAL");
  ASSERT_EQ(ui.EventsOf(Kind::Message).size(), 1u) << "no question after the stop";
  EXPECT_EQ(ui.EventsOf(Kind::Message)[0].type, mtError);
  EXPECT_EQ(server->Calls("DesfazerDistrato"), 0);
}

TEST_F(UndoScreen, AnswerNoUndoesNothingAndReloads) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  Confirm("SUPERVISOR", "DISTRATO");
  ui.AnswerMessage(mrNo);
  const int reloads = server->Calls("GetContratante");
  Undo(f);
  EXPECT_EQ(server->Calls("DesfazerDistrato"), 0);
  EXPECT_EQ(server->Calls("GetContratante"), reloads + 1);
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "C");
}

TEST_F(UndoScreen, AServerEndingTheUndoWithOKIsASuccessAndThePartyIsCurrentAgain) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  server->OverrideMethod("DesfazerDistrato", [](std::vector<Variant>& args, FreshServer& s) -> Variant {
    s.Forward("DesfazerDistrato", args);
    throw std::runtime_error("OK");
  });
  Confirm("SUPERVISOR", "DISTRATO");
  ui.AnswerMessage(mrYes);
  f.cdsContratante.Last();  // the relocation, not the reload, brings him back
  f.cdsContratante.Locate("NMFANTCLIE", Variant("Rodrigo Bastos Lima"), loCaseInsensitive);
  Undo(f);
  const std::vector<std::string> shown = ui.Messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), kUndone);
  EXPECT_TRUE(ui.Exceptions().empty());
  EXPECT_EQ(Party(f, "NMFANTCLIE"), "Rodrigo Bastos Lima");
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "N");
  EXPECT_FALSE(ui.ProgressVisible());
}

TEST_F(UndoScreen, TheAnimationIsGoneBeforeTheSuccessMessage) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  Confirm("SUPERVISOR", "DISTRATO");
  ui.AnswerMessage(mrYes);
  ui.AnswerMessage(mrOk);
  Undo(f);
  ASSERT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_EQ(ui.Messages().back(), kUndone);
  EXPECT_EQ(ui.EventsOf(Kind::ProgressShown).size(), 1u);
  EXPECT_TRUE(ui.ShownOverProgress().empty()) << ui.ShownOverProgress().front();
  EXPECT_EQ(Party(f, "IDCONTPROCESDIST"), "N");
}

TEST_F(UndoScreen, ARefusedCommissionCheckShowsTheServersMessage) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  server->OverrideMethod("Vd_ExistComisGerada", [](std::vector<Variant>&, FreshServer&) -> Variant {
    throw std::runtime_error("Vd_ExistComisGerada: orçamento 0000000171 em manutenção.");
  });
  Confirm("SUPERVISOR", "DISTRATO");
  Undo(f);
  EXPECT_EQ(ui.Exceptions(), std::vector<std::string>{"Vd_ExistComisGerada: orçamento 0000000171 em manutenção."});
  EXPECT_EQ(server->Calls("DesfazerDistrato"), 0);
}

TEST_F(UndoScreen, ARefusedPasswordIsSelectedSoTheNextOneReplacesIt) {
  TfrmDistrato& f = Open("171", "Rodrigo Bastos Lima");
  std::string selected;
  std::string retyped;
  ui.DriveModal([&](TForm& form) {
    auto& d = dynamic_cast<TfrmConfSenhaDist&>(form);
    d.edtOperador.UserSetFocus();
    d.edtOperador.UserSetText("SUPERVISOR");
    d.edtSenha.UserSetFocus();
    d.edtSenha.UserSetText("errada");
    d.sbtConfirma.UserClick();
    EXPECT_EQ(d.ActiveControl(), &d.edtSenha);
    selected = d.edtSenha.SelText();
    d.edtSenha.UserType("DISTRATO");
    retyped = d.edtSenha.Text();
    d.sbtCancel.UserClick();
  });
  Undo(f);
  EXPECT_EQ(ui.Messages().front(), "Senha inválida.");
  EXPECT_EQ(selected, "errada");
  EXPECT_EQ(retyped, "DISTRATO");
}

}  // namespace
