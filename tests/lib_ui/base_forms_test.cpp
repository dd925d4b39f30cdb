#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/frm_padrao_grid.h"
#include "lib/frm_padrao_simples.h"
#include "lib/frm_roti_geral.h"
#include "scripted_test.h"
#include "ui/application.h"

namespace {

// A screen as the module writes them: overrides call the inherited handler.
class TfrmTeste : public TfrmPadraoGrid {
 public:
  TfrmTeste() : TfrmPadraoGrid("DXR10900") {}

  void sbtVerificarClick(TComponent*) override { ++verificar; }
  void dtsPadraoStateChange(TComponent* sender) override {
    TfrmPadraoGrid::dtsPadraoStateChange(sender);
    ++stateChanges;
  }
  void FormClose(TComponent* sender, TCloseAction& action) override {
    TfrmPadraoGrid::FormClose(sender, action);
    closed = true;
  }

  int verificar = 0;
  int stateChanges = 0;
  bool closed = false;
};

class PadraoGridTest : public ScriptedTest {
 protected:
  void SetUp() override {
    ScriptedTest::SetUp();
    list.AddField("CDCLIENTE", FieldType::String, 21);
    list.AddField("NMFANTCLIE", FieldType::String, 50);
    list.CreateDataSet();
    for (const char* name : {"Ana", "Bruno"}) {
      list.Append();
      list.FieldByName("CDCLIENTE").SetAsString(std::string("C-") + name);
      list.FieldByName("NMFANTCLIE").SetAsString(name);
      list.Post();
    }
    list.First();
    screen.dtsPadrao.SetDataSet(&list);
    screen.dbgPadrao.AddColumn("CDCLIENTE");
    screen.dbgPadrao.AddColumn("NMFANTCLIE");
    screen.dbtNome.SetDataField("NMFANTCLIE");
    screen.DoCreate();
  }

  std::vector<TButtonFlat*> Browsing() {
    return {&screen.sbtIncluir, &screen.sbtAlterar, &screen.sbtExcluir, &screen.sbtProcurar, &screen.sbtVerificar};
  }
  std::vector<TButtonFlat*> Editing() { return {&screen.sbtConfirmar, &screen.sbtCancelar}; }
  void ExpectMenuFollowsButtons() {
    for (const char* name : {"Incluir", "Alterar", "Excluir", "Procurar", "Verificar", "Cancelar", "Confirmar", "Imprimir"}) {
      const auto& button = screen.Find<TButtonFlat>(std::string("sbt") + name);
      const auto& item = screen.Find<TMenuItem>(std::string("mnu") + name);
      EXPECT_EQ(item.Enabled(), button.Enabled()) << name;
      EXPECT_EQ(item.Parent(), &screen.mnuManutencao) << name;
    }
  }

  TClientDataSet list{"cdsContratante"};
  TComponentPtr<TfrmTeste> held = MakeComponent<TfrmTeste>();
  TfrmTeste& screen = *held;
};

TEST_F(PadraoGridTest, BringsTheInheritedComponentsLaidOut) {
  EXPECT_EQ(screen.lblCodTela.Caption(), "DXR10900");
  EXPECT_EQ(screen.FormStyle(), fsMDIChild);
  EXPECT_EQ(screen.Menu(), &screen.mnuMenu);
  EXPECT_EQ(screen.dbgPadrao.DataSource(), &screen.dtsPadrao);
  EXPECT_EQ(screen.dbgPadrao.Parent(), &screen.scbFolhaDados);
  EXPECT_EQ(screen.scbFolhaDados.Parent(), &screen.tshPadrao);
  EXPECT_EQ(screen.pgcPadrao.ActivePage(), &screen.tshPadrao);
  EXPECT_EQ(screen.panMenu.Align(), alTop);
  EXPECT_EQ(screen.panNavigator.Align(), alBottom);
  EXPECT_EQ(screen.dbtNome.Caption(), "Ana");
  EXPECT_EQ(screen.FindAs<TMessages>("msgPadrao"), &screen.msgPadrao);
  EXPECT_EQ(screen.FindAs<TMessages>("msgMensagensPadroes"), &screen.msgMensagensPadroes);
  EXPECT_EQ(screen.FindAs<TDataSource>("dtsPadrao"), &screen.dtsPadrao);
  // Tool-bar buttons sit side by side, the screen code at the right.
  EXPECT_LT(screen.sbtIncluir.Left() + screen.sbtIncluir.Width(), screen.sbtAlterar.Left() + 1);
  EXPECT_EQ(screen.lblCodTela.Align(), alRight);
}

TEST_F(PadraoGridTest, StateChangeTogglesButtonsAndMenuEntriesInStep) {
  for (TButtonFlat* b : Browsing()) EXPECT_TRUE(b->Enabled()) << b->Name();
  for (TButtonFlat* b : Editing()) EXPECT_FALSE(b->Enabled()) << b->Name();
  ExpectMenuFollowsButtons();

  const int before = screen.stateChanges;
  list.Edit();
  EXPECT_GT(screen.stateChanges, before);
  for (TButtonFlat* b : Browsing()) EXPECT_FALSE(b->Enabled()) << b->Name();
  for (TButtonFlat* b : Editing()) EXPECT_TRUE(b->Enabled()) << b->Name();
  ExpectMenuFollowsButtons();

  list.Cancel();
  for (TButtonFlat* b : Browsing()) EXPECT_TRUE(b->Enabled()) << b->Name();
  for (TButtonFlat* b : Editing()) EXPECT_FALSE(b->Enabled()) << b->Name();
  ExpectMenuFollowsButtons();
}

TEST_F(PadraoGridTest, ADerivedScreenSwitchingAButtonSwitchesItsMenuEntry) {
  screen.sbtVerificar.SetEnabled(false);
  EXPECT_FALSE(screen.Find<TMenuItem>("mnuVerificar").Enabled());
  screen.sbtImprimir.SetEnabled(false);
  EXPECT_FALSE(screen.Find<TMenuItem>("mnuImprimir").Enabled());
}

TEST_F(PadraoGridTest, CodeClickOfADisabledVerificarRunsTheScreensHandler) {
  screen.sbtVerificar.SetEnabled(false);
  screen.sbtVerificar.Click();
  EXPECT_EQ(screen.verificar, 1);
  screen.sbtVerificar.UserClick();  // the user cannot
  EXPECT_EQ(screen.verificar, 1);
  screen.Find<TMenuItem>("mnuVerificar").Click();
  EXPECT_EQ(screen.verificar, 2);
}

TEST_F(PadraoGridTest, ConfirmarPostsWhatWasTypedInTheGrid) {
  screen.Show();
  list.Edit();  // the screen opened the list for editing
  screen.dbgPadrao.SetFocus();
  screen.dbgPadrao.SetSelectedIndex(1);
  screen.dbgPadrao.UserKeyPress(U'X');
  ASSERT_TRUE(screen.dbgPadrao.EditorOpen());
  screen.sbtConfirmar.Click();
  EXPECT_EQ(list.State(), dsBrowse);
  EXPECT_EQ(list.FieldByName("NMFANTCLIE").AsString(), "X");
  EXPECT_FALSE(screen.sbtConfirmar.Enabled());
}

TEST_F(PadraoGridTest, CancelarAbandonsThePendingEdit) {
  list.Edit();
  list.FieldByName("NMFANTCLIE").SetAsString("Outro");
  screen.sbtCancelar.Click();
  EXPECT_EQ(list.State(), dsBrowse);
  EXPECT_EQ(list.FieldByName("NMFANTCLIE").AsString(), "Ana");
  // Nothing pending: nothing happens.
  EXPECT_NO_THROW(screen.sbtCancelar.Click());
  EXPECT_NO_THROW(screen.sbtConfirmar.Click());
}

TEST_F(PadraoGridTest, ProcurarSearchesTheList) {
  ui.AnswerFind([](TClientDataSet& d) { d.Last(); });
  screen.sbtProcurar.Click();
  ASSERT_EQ(ui.EventsOf(ScriptedUi::EventKind::Find).size(), 1u);
  EXPECT_EQ(ui.EventsOf(ScriptedUi::EventKind::Find)[0].text, "cdsContratante");
  EXPECT_EQ(list.RecNo(), 2);
}

TEST_F(PadraoGridTest, CtrlDeleteDoesNotDeleteAListRow) {
  screen.Show();
  screen.dbgPadrao.SetFocus();
  ui.AnswerMessage(mrOk);
  screen.dbgPadrao.UserKeyDown(VK_DELETE, ssCtrl);
  EXPECT_EQ(list.RecordCount(), 2);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(PadraoGridTest, MenuShortcutRunsTheCommand) {
  screen.Show();
  EXPECT_TRUE(screen.UserShortCut(116, ssNone));  // F5: Verificar
  EXPECT_EQ(screen.verificar, 1);
  screen.sbtVerificar.SetEnabled(false);
  EXPECT_FALSE(screen.UserShortCut(116, ssNone));
  EXPECT_EQ(screen.verificar, 1);
}

TEST(PadraoGridCloseTest, ClosingFreesTheScreenAfterItsOnDestroy) {
  ScriptedUi ui;
  SetUi(&ui);
  bool destroyed = false;
  auto& screen = Application().CreateForm<TfrmTeste>("frmTeste");
  screen.OnDestroy = [&](TComponent*) { destroyed = true; };
  screen.Show();
  screen.Close();
  EXPECT_TRUE(screen.closed);
  Application().ProcessReleases();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Application().FindComponent("frmTeste"), nullptr);
  SetUi(nullptr);
}

class TfrmDialogo : public TfrmPadraoSimples {
 public:
  TfrmDialogo() : TfrmPadraoSimples("DXR10906") {}
  void FormClose(TComponent* sender, TCloseAction& action) override {
    TfrmPadraoSimples::FormClose(sender, action);
    ++closes;
  }
  int closes = 0;
};

using PadraoSimplesTest = ScriptedTest;

TEST_F(PadraoSimplesTest, StartsWithTheListCommandsOffAndMenuInStep) {
  TComponentPtr<TfrmDialogo> held = MakeComponent<TfrmDialogo>();
  TfrmDialogo& dialog = *held;
  EXPECT_EQ(dialog.lblCodTela.Caption(), "DXR10906");
  for (TButtonFlat* off : {&dialog.sbtIncluir, &dialog.sbtExcluir, &dialog.sbtProcurar, &dialog.sbtVerificar,
                           &dialog.sbtImprimir})
    EXPECT_FALSE(off->Enabled()) << off->Name();
  for (TButtonFlat* on : {&dialog.sbtAlterar, &dialog.sbtCancelar, &dialog.sbtConfirmar})
    EXPECT_TRUE(on->Enabled()) << on->Name();
  for (const char* name : {"Incluir", "Alterar", "Excluir", "Procurar", "Verificar", "Cancelar", "Confirmar", "Imprimir"})
    EXPECT_EQ(dialog.Find<TMenuItem>(std::string("mnu") + name).Enabled(),
              dialog.Find<TButtonFlat>(std::string("sbt") + name).Enabled())
        << name;
  EXPECT_EQ(dialog.mnuSair.Parent(), &dialog.mnuManutencao);
}

TEST_F(PadraoSimplesTest, SairEndsTheModalRunWithCancelAndRunsTheClose) {
  TComponentPtr<TfrmDialogo> held = MakeComponent<TfrmDialogo>();
  TfrmDialogo& dialog = *held;
  dialog.DoCreate();
  ui.DriveModal([](TForm& f) { static_cast<TfrmDialogo&>(f).mnuSair.Click(); });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_TRUE(ui.EventsOf(ScriptedUi::EventKind::Modal)[0].closed_by_script);
  EXPECT_EQ(dialog.closes, 1);
  EXPECT_FALSE(dialog.Visible());
}

TEST_F(PadraoSimplesTest, CancelarAbandonsThePendingEditOfItsDataSource) {
  TComponentPtr<TfrmDialogo> held = MakeComponent<TfrmDialogo>();
  TfrmDialogo& dialog = *held;
  TClientDataSet data("cdsVrContratantes");
  data.AddField("VRORIGREC", FieldType::Float);
  data.CreateDataSet();
  data.Append();
  data.FieldByName("VRORIGREC").SetAsFloat(10);
  data.Post();
  dialog.dtsPadrao.SetDataSet(&data);
  data.Edit();
  data.FieldByName("VRORIGREC").SetAsFloat(99);
  dialog.sbtCancelar.Click();
  EXPECT_EQ(data.State(), dsBrowse);
  EXPECT_EQ(data.FieldByName("VRORIGREC").AsFloat(), 10.0);
}

class TfrmSenha : public TfrmRotiGeral {
 public:
  TfrmSenha() : TfrmRotiGeral("DXR10905") {}
  void sbtCancelClick(TComponent* sender) override {
    TfrmRotiGeral::sbtCancelClick(sender);
    stOperador.clear();
  }
  void sbtConfirmaClick(TComponent*) override {
    stOperador = "OPER";
    SetModalResult(mrOk);
  }
  std::string stOperador = "antes";
};

using RotiGeralTest = ScriptedTest;

TEST_F(RotiGeralTest, BringsTheGroupTheButtonPanelAndTheScreenCode) {
  TComponentPtr<TfrmSenha> held = MakeComponent<TfrmSenha>();
  TfrmSenha& dialog = *held;
  EXPECT_EQ(dialog.lblCodTela.Caption(), "DXR10905");
  EXPECT_EQ(dialog.sbtConfirma.Parent(), &dialog.panBotoes);
  EXPECT_EQ(dialog.sbtCancel.Parent(), &dialog.panBotoes);
  EXPECT_EQ(dialog.panBotoes.Align(), alBottom);
  EXPECT_EQ(dialog.grbDadosRel.Align(), alClient);
  EXPECT_EQ(dialog.FindAs<TMessages>("msgPadrao"), &dialog.msgPadrao);
}

TEST_F(RotiGeralTest, CancelEndsTheDialog) {
  TComponentPtr<TfrmSenha> held = MakeComponent<TfrmSenha>();
  TfrmSenha& dialog = *held;
  dialog.DoCreate();
  ui.DriveModal([](TForm& f) { static_cast<TfrmSenha&>(f).sbtCancel.Click(); });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_TRUE(ui.EventsOf(ScriptedUi::EventKind::Modal)[0].closed_by_script);
  EXPECT_EQ(dialog.stOperador, "");
}

TEST_F(RotiGeralTest, ConfirmaRunsTheDialogsHandler) {
  TComponentPtr<TfrmSenha> held = MakeComponent<TfrmSenha>();
  TfrmSenha& dialog = *held;
  dialog.DoCreate();
  ui.DriveModal([](TForm& f) { static_cast<TfrmSenha&>(f).sbtConfirma.Click(); });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(dialog.stOperador, "OPER");
}

}  // namespace

// The three bases share the code label and the catalogue; the two with a
// tool bar share it and keep their own order of menu entries.
TEST_F(RotiGeralTest, TheBasesShareTheirPartsAndKeepTheirOwnMenuOrder) {
  TComponentPtr<TfrmPadraoGrid> grid = MakeComponent<TfrmPadraoGrid>("DXR10900");
  TComponentPtr<TfrmPadraoSimples> simples = MakeComponent<TfrmPadraoSimples>("DXR10906");
  TComponentPtr<TfrmSenha> roti = MakeComponent<TfrmSenha>();
  auto entries = [](TfrmPadraoComandos& form) {
    std::vector<std::string> names;
    for (const TMenuItem* item : form.mnuManutencao.Items()) names.push_back(item->Name());
    return names;
  };
  EXPECT_EQ(entries(*grid), (std::vector<std::string>{"mnuIncluir", "mnuAlterar", "mnuExcluir", "mnuProcurar",
                                                      "mnuVerificar", "mnuCancelar", "mnuConfirmar", "mnuImprimir",
                                                      "mnuLinha1", "mnuSair"}));
  EXPECT_EQ(entries(*simples), (std::vector<std::string>{"mnuIncluir", "mnuAlterar", "mnuExcluir", "mnuProcurar",
                                                         "mnuVerificar", "mnuCancelar", "mnuConfirmar", "mnuImprimir",
                                                         "mnuAjuda", "mnuLinha1", "mnuSair"}));
  for (TfrmPadraoComandos* form : {static_cast<TfrmPadraoComandos*>(grid.get()),
                                   static_cast<TfrmPadraoComandos*>(simples.get())}) {
    EXPECT_EQ(form->lblCodTela.Parent(), &form->panMenu);
    EXPECT_EQ(form->Menu(), &form->mnuMenu);
  }
  EXPECT_EQ(roti->lblCodTela.Parent(), &roti->panBotoes);
  for (TfrmPadrao* form : {static_cast<TfrmPadrao*>(grid.get()), static_cast<TfrmPadrao*>(simples.get()),
                           static_cast<TfrmPadrao*>(roti.get())})
    EXPECT_EQ(form->FindAs<TMessages>("msgPadrao"), &form->msgPadrao);
  EXPECT_EQ(simples->lblCodTela.Caption(), "DXR10906");
}
