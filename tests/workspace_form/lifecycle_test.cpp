// Entry, activation, branch lock, closing and a server that is down.

#include <algorithm>
#include <set>

#include "demo_server.h"
#include "ui/form.h"

namespace {

using testing_support::ScreenTest;

int ScreensOpen() {
  const auto& forms = Application().Forms();
  return static_cast<int>(std::count_if(forms.begin(), forms.end(),
                                        [](TForm* f) { return dynamic_cast<TfrmDistrato*>(f) != nullptr; }));
}

TEST_F(ScreenTest, TheScreenShowsItsCaptionCodeAndSize) {
  TfrmDistrato& f = Open();
  EXPECT_EQ(f.Caption(), "Distrato Comercial");
  EXPECT_EQ(f.lblCodTela.Caption(), "DXR10900");
  EXPECT_EQ(f.Width(), 1068);
  EXPECT_EQ(f.Height(), 634);
  EXPECT_EQ(f.FormStyle(), fsMDIChild);
  EXPECT_EQ(f.panFiltro.Height(), 61);
  EXPECT_EQ(f.panCancelarContrat.Height(), 155);
  EXPECT_EQ(f.dbgPadrao.Height(), 148);
  EXPECT_EQ(f.dbgContasGeradas.Width(), 530);  // wider than 472: every column of the demo fits
  EXPECT_EQ(f.sbtDistrato.Width(), 181);
  EXPECT_EQ(f.sbtDistrato.Height(), 42);
  EXPECT_TRUE(f.sbtDistrato.Font().bold);
  EXPECT_EQ(f.sbtCancContrat.Caption(), "Troca de Titularidade");
  EXPECT_EQ(f.sbtConsolidaDistrato.Hint(), "Confirma Distrato");
  EXPECT_EQ(f.sbtCancelaDistrato.Hint(), "Cancelar Distrato");
  EXPECT_FALSE(f.sbtImprimir.Enabled());
  EXPECT_TRUE(f.rbtParcial.Checked());
  EXPECT_FALSE(f.grbBaixa.Enabled());
  // Filter above the commands, the list below them, the accounts last.
  EXPECT_LT(f.panFiltro.Top(), f.panCancelarContrat.Top());
  EXPECT_LT(f.panCancelarContrat.Top(), f.dbgPadrao.Top());
  EXPECT_LT(f.dbgPadrao.Top(), f.Panel5.Top());
}

TEST_F(ScreenTest, AMaximisedScreenGivesItsRoomToTheAccountsAndThePayables) {
  TfrmDistrato& f = Open();
  const TRect accounts = f.Panel5.BoundsRect();
  const int receivables = f.dbgContasGeradas.Width();
  const int payables = f.dbgContaPagar.Width();
  f.SetBounds(0, 0, 1600, 1000);
  // The stacked parts keep their design heights; the panel below the list
  // and the payables grid take what the larger window adds.
  EXPECT_EQ(f.panFiltro.Height(), 61);
  EXPECT_EQ(f.panCancelarContrat.Height(), 155);
  EXPECT_EQ(f.dbgPadrao.Height(), 148);
  EXPECT_EQ(f.dbgPadrao.Width(), f.scbFolhaDados.ClientRect().Width());
  EXPECT_EQ(f.Panel5.Top(), accounts.top);
  EXPECT_EQ(f.Panel5.Height(), accounts.Height() + 1000 - 634);
  EXPECT_EQ(f.dbgContasGeradas.Width(), receivables);
  EXPECT_EQ(f.dbgContaPagar.Width(), payables + 1600 - 1068);
  EXPECT_EQ(f.dbgContaPagar.BoundsRect().right, f.Panel5.Width());
  EXPECT_EQ(f.dbgContaPagar.BoundsRect().bottom, f.Panel5.Height());

  // The list grows by its splitter, and the accounts keep at least the
  // splitter's minimum; the receivables grid likewise beside the payables.
  f.Splitter1.UserDrag(300);
  EXPECT_EQ(f.dbgPadrao.Height(), 448);
  EXPECT_EQ(f.Panel5.Top(), f.Splitter1.BoundsRect().bottom);
  f.Splitter1.UserDrag(5000);
  EXPECT_EQ(f.Panel5.Height(), f.Splitter1.MinSize());
  f.Splitter2.UserDrag(5000);
  EXPECT_EQ(f.dbgContaPagar.Width(), f.Splitter2.MinSize());
  f.Splitter2.UserDrag(-5000);
  EXPECT_EQ(f.dbgContasGeradas.Width(), f.Splitter2.MinSize());

  // Back to the design size: nothing is left outside the window.
  f.Splitter1.UserDrag(-5000);
  f.SetBounds(0, 0, 1068, 634);
  EXPECT_LE(f.Panel5.BoundsRect().bottom, f.scbFolhaDados.ClientRect().bottom);
  EXPECT_EQ(f.dbgContaPagar.BoundsRect().right, f.Panel5.Width());
}

TEST_F(ScreenTest, TheMenuEntriesFollowTheSeparatorWithTheirShortcuts) {
  TfrmDistrato& f = Open();
  const int sep = f.mnuManutencao.IndexOf(f.mnuLinha4);
  ASSERT_GE(sep, 0);
  EXPECT_TRUE(f.mnuLinha4.IsLine());
  EXPECT_EQ(f.mnuManutencao.IndexOf(f.mnuCancContrat), sep + 1);
  EXPECT_EQ(f.mnuManutencao.IndexOf(f.mnuCancelaDistrato), sep + 4);
  EXPECT_EQ(f.mnuCancContrat.Caption(), "Substituir C&ontratante");
  EXPECT_EQ(ShortCutToText(f.mnuCancContrat.ShortCut()), "Ctrl+N");
  EXPECT_EQ(ShortCutToText(f.mnuDistrato.ShortCut()), "Ctrl+D");
  EXPECT_EQ(ShortCutToText(f.mnuConsolidaDistrato.ShortCut()), "Ctrl+L");
  EXPECT_EQ(ShortCutToText(f.mnuCancelaDistrato.ShortCut()), "Ctrl+T");
  EXPECT_EQ(f.mnuManutencao.IndexOf(f.mnuTermoDistrato), sep + 5);
  EXPECT_EQ(f.mnuTermoDistrato.Caption(), "Termo de Distrato");
  EXPECT_EQ(ShortCutToText(f.mnuTermoDistrato.ShortCut()), "Ctrl+K");
  // No two entries of the menu answer the same key.
  std::set<TShortCut> keys;
  for (const TMenuItem* item : f.mnuManutencao.Items()) {
    if (item->ShortCut() != scNone) {
      EXPECT_TRUE(keys.insert(item->ShortCut()).second) << item->Name();
    }
  }
}

TEST_F(ScreenTest, ASecondIniProcRestoresTheSameScreen) {
  TfrmDistrato& first = Open();
  first.SetWindowState(wsMinimized);
  CriaDistratoComercial();
  EXPECT_EQ(frmDistrato, &first);
  EXPECT_EQ(ScreensOpen(), 1);
  EXPECT_EQ(first.WindowState(), wsNormal);
  EXPECT_TRUE(first.Visible());
  EXPECT_EQ(Application().Cursor(), crDefault);
}

TEST_F(ScreenTest, ClosingFreesTheScreenAndTheNextEntryBuildsANewOne) {
  Open();
  frmDistrato->Close();
  Application().ProcessReleases();
  EXPECT_FALSE(boIdCriado);
  EXPECT_EQ(frmDistrato, nullptr);
  EXPECT_EQ(ScreensOpen(), 0);
  TfrmDistrato& again = Open();
  EXPECT_TRUE(boIdCriado);
  EXPECT_EQ(again.medCdFilial.Text(), "0001");
}

TEST_F(ScreenTest, TheFirstActivationCopiesTheLoginBranchAndLaterOnesKeepWhatWasTyped) {
  TfrmDistrato& f = Open();
  EXPECT_EQ(f.medCdFilial.Text(), "0001");
  EXPECT_EQ(f.edtNmFilial.Text(), "Porto Alegre - Centro");
  f.medCdFilial.SetText("0002");
  TForm& other = Application().CreateForm<TForm>("frmOutra");
  other.Show();
  f.Activate();
  EXPECT_EQ(f.medCdFilial.Text(), "0002");
  Application().DestroyComponent(&other);
}

TEST_F(ScreenTest, CommandsAreOffBeforeAnyBudgetIsLoaded) {
  TfrmDistrato& f = Open();
  for (TControl* c : std::initializer_list<TControl*>{&f.sbtDistrato, &f.sbtCancContrat, &f.sbtConsolidaDistrato,
                                                      &f.sbtCancelaDistrato, &f.sbtProcurar, &f.sbtVerificar,
                                                      &f.sbtIncluir})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_FALSE(f.mnuDistrato.Enabled());
  EXPECT_TRUE(ui.Exceptions().empty());
}

class LockedBranchTest : public ScreenTest {
 protected:
  bool locked() const override { return true; }
};

TEST_F(LockedBranchTest, TheBranchStaysDisabledAfterEnteringTheFilter) {
  TfrmDistrato& f = Open();
  EXPECT_FALSE(f.medCdFilial.Enabled());
  EXPECT_FALSE(f.btnPesquisa.Enabled());
  f.edtOrcamento.SetFocus();
  f.panFiltroEnter(&f.panFiltro);
  EXPECT_FALSE(f.medCdFilial.Enabled());
  EXPECT_FALSE(f.btnPesquisa.Enabled());
  EXPECT_EQ(f.medCdFilial.Text(), "0001");
}

TEST_F(ScreenTest, AnEmptyBranchStopsTheLoadAndKeepsTheSettlementGroupOff) {
  TfrmDistrato& f = Open();
  f.medCdFilial.SetFocus();
  f.medCdFilial.SetText("");
  f.edtOrcamento.SetText("101");
  f.dbgPadrao.UserSetFocus();
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Filial deve ser informada."});
  EXPECT_TRUE(ui.Exceptions().empty());
  EXPECT_TRUE(f.medCdFilial.Focused());
  EXPECT_FALSE(f.cdsContratante.Active());
  EXPECT_FALSE(f.grbBaixa.Enabled());

  // The panel's own exit stops at the same check.
  ui.Clear();
  EXPECT_THROW(f.panFiltroExit(&f.panFiltro), EAbort);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Filial deve ser informada."});
  EXPECT_FALSE(f.cdsContratante.Active());
  EXPECT_FALSE(f.grbBaixa.Enabled());
}

TEST_F(ScreenTest, AServerThatIsDownIsReportedOnceAndTheScreenStillOpens) {
  LoginEnvironment env = testing_support::DemoLogin();
  env.serverPort = testing_support::ClosedPort();
  SetLoginEnvironment(env);
  CriaDistratoComercial();
  ASSERT_NE(frmDistrato, nullptr);
  EXPECT_TRUE(frmDistrato->Visible());
  const std::vector<std::string> shown = ui.Exceptions();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Não foi possível conectar ao servidor de aplicação", 0), 0u) << shown[0];

  // Once the server is back, the screen connects on demand.
  SetLoginEnvironment(testing_support::DemoLogin());
  ui.Clear();
  TfrmDistrato& f = *frmDistrato;
  f.edtOrcamento.SetFocus();
  f.edtOrcamento.SetText("101");
  f.dbgPadrao.UserSetFocus();
  EXPECT_TRUE(ui.Exceptions().empty()) << ui.Exceptions().front();
  EXPECT_TRUE(f.cdsContratante.Active());
  EXPECT_FALSE(f.cdsContratante.IsEmpty());
}

TEST_F(ScreenTest, AFailureLaterIsShownAgain) {
  TfrmDistrato& f = Open();
  LoginEnvironment env = testing_support::DemoLogin();
  env.serverPort = testing_support::ClosedPort();
  SetLoginEnvironment(env);
  f.netDistrato.Close();
  EXPECT_THROW(f.HabilitaBotoes(), ENetError);
}

}  // namespace
