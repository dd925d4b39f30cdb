#include "lib/frm_padrao_grid.h"

#include "lib/command_bar.h"
#include "lib/lib_ui_hooks.h"
#include "lib/procurar.h"
#include "lib/standard_commands.h"
#include "ui/ui_service.h"

namespace sc = standard_commands;

namespace {
constexpr int kToolBarHeight = 34;
constexpr int kNavigatorHeight = 25;
}  // namespace

TfrmPadraoGrid::TfrmPadraoGrid(const std::string& screenCode)
    : mnuMenu(Add<TMainMenu>("mnuMenu")),
      mnuManutencao(AddMenuItem(*this, mnuMenu.Items(), "mnuManutencao", "&Manutenção")),
      panMenu(Add<TPanel>("panMenu", this)),
      sbtIncluir(AddCommand(*this, panMenu, mnuManutencao, sc::kIncluir)),
      sbtAlterar(AddCommand(*this, panMenu, mnuManutencao, sc::kAlterar)),
      sbtExcluir(AddCommand(*this, panMenu, mnuManutencao, sc::kExcluir)),
      sbtProcurar(AddCommand(*this, panMenu, mnuManutencao, sc::kProcurar)),
      sbtVerificar(AddCommand(*this, panMenu, mnuManutencao, sc::kVerificar)),
      sbtCancelar(AddCommand(*this, panMenu, mnuManutencao, sc::kCancelar)),
      sbtConfirmar(AddCommand(*this, panMenu, mnuManutencao, sc::kConfirmar)),
      sbtImprimir(AddCommand(*this, panMenu, mnuManutencao, sc::kImprimir)),
      mnuLinha1(AddMenuItem(*this, mnuManutencao, "mnuLinha1", "-")),
      mnuSair(AddMenuItem(*this, mnuManutencao, "mnuSair", "&Sair", scCtrl | 115 /* F4 */)),
      lblCodTela(Add<TLabel>("lblCodTela", &panMenu)),
      panNavigator(Add<TPanel>("panNavigator", this)),
      dbtNome(Add<TDBText>("dbtNome", &panNavigator)),
      pgcPadrao(Add<TPageControl>("pgcPadrao", this)),
      tshPadrao(Add<TTabSheet>("tshPadrao", &pgcPadrao)),
      scbFolhaDados(Add<TScrollBox>("scbFolhaDados", &tshPadrao)),
      dtsPadrao(Own<TDataSource>("dtsPadrao", "dtsPadrao")),
      dbgPadrao(Add<TDBGrid>("dbgPadrao", &scbFolhaDados)),
      msgPadrao(Own<TMessages>("msgPadrao", "msgPadrao")),
      msgMensagensPadroes(Own<TMessages>("msgMensagensPadroes", "msgMensagensPadroes")) {
  InstallLibUiHooks();
  SetFormStyle(fsMDIChild);
  SetMenu(&mnuMenu);

  panMenu.SetAlign(alTop);
  panMenu.SetHeight(kToolBarHeight);
  lblCodTela.SetAlign(alRight);
  lblCodTela.SetWidth(70);
  lblCodTela.SetAlignment(taRightJustify);
  lblCodTela.SetCaption(screenCode);

  panNavigator.SetAlign(alBottom);
  panNavigator.SetHeight(kNavigatorHeight);
  panNavigator.SetAlignment(taLeftJustify);
  dbtNome.SetBounds(8, 5, 400, 15);
  dbtNome.SetDataSource(&dtsPadrao);
  dbtNome.SetFontBold(true);

  pgcPadrao.SetAlign(alClient);
  pgcPadrao.SetActivePage(&tshPadrao);
  scbFolhaDados.SetAlign(alClient);
  dbgPadrao.SetDataSource(&dtsPadrao);
  dbgPadrao.SetTabStop(true);

  WireHandlers();
}

void TfrmPadraoGrid::WireHandlers() {
  OnCreate = [this](TComponent* s) { FormCreate(s); };
  OnClose = [this](TComponent* s, TCloseAction& action) { FormClose(s, action); };
  dbgPadrao.OnKeyDown = [this](TComponent* s, int& key, TShiftState shift) { dbgPadraoKeyDown(s, key, shift); };
  dtsPadrao.OnStateChange = [this](TDataSource&) { dtsPadraoStateChange(FindComponent("dtsPadrao")); };
  sbtIncluir.OnClick = [this](TComponent* s) { sbtIncluirClick(s); };
  sbtAlterar.OnClick = [this](TComponent* s) { sbtAlterarClick(s); };
  sbtExcluir.OnClick = [this](TComponent* s) { sbtExcluirClick(s); };
  sbtProcurar.OnClick = [this](TComponent* s) { sbtProcurarClick(s); };
  sbtVerificar.OnClick = [this](TComponent* s) { sbtVerificarClick(s); };
  sbtCancelar.OnClick = [this](TComponent* s) { sbtCancelarClick(s); };
  sbtConfirmar.OnClick = [this](TComponent* s) { sbtConfirmarClick(s); };
  sbtImprimir.OnClick = [this](TComponent* s) { sbtImprimirClick(s); };
  mnuSair.OnClick = [this](TComponent*) { Close(); };
}

bool TfrmPadraoGrid::ListEditing() const {
  const TDataSetState state = dtsPadrao.State();
  return state == dsEdit || state == dsInsert;
}

void TfrmPadraoGrid::FormCreate(TComponent* /*sender*/) { dtsPadraoStateChange(FindComponent("dtsPadrao")); }

void TfrmPadraoGrid::FormClose(TComponent* /*sender*/, TCloseAction& action) { action = caFree; }

void TfrmPadraoGrid::dbgPadraoKeyDown(TComponent* /*sender*/, int& key, TShiftState shift) {
  if (key == VK_DELETE && (shift & ssCtrl)) key = 0;
}

void TfrmPadraoGrid::dtsPadraoStateChange(TComponent* /*sender*/) {
  const bool editing = ListEditing();
  sbtConfirmar.SetEnabled(editing);
  sbtCancelar.SetEnabled(editing);
  for (TButtonFlat* browsing : {&sbtIncluir, &sbtAlterar, &sbtExcluir, &sbtProcurar, &sbtVerificar})
    browsing->SetEnabled(!editing);
}

void TfrmPadraoGrid::sbtIncluirClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = ListData(); data && data->Active()) data->Append();
}

void TfrmPadraoGrid::sbtAlterarClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = ListData(); data && data->Active() && !data->IsEmpty()) data->Edit();
}

void TfrmPadraoGrid::sbtExcluirClick(TComponent* /*sender*/) {
  TClientDataSet* data = ListData();
  if (!data || !data->Active() || data->IsEmpty()) return;
  if (MessageDlg("Confirma a exclusão do registro?", mtConfirmation, mbYesNo) == mrYes) data->Delete();
}

void TfrmPadraoGrid::sbtProcurarClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = ListData()) Procura(*data);
}

void TfrmPadraoGrid::sbtVerificarClick(TComponent* /*sender*/) {}

void TfrmPadraoGrid::sbtConfirmarClick(TComponent* /*sender*/) {
  TClientDataSet* data = ListData();
  if (!data || !data->Active()) return;
  // The speed button leaves the focus in the grid, so what the user typed
  // into the cell has not reached the field yet.
  dbgPadrao.CommitEditor();
  if (ListEditing()) data->Post();
}

void TfrmPadraoGrid::sbtCancelarClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = ListData(); data && ListEditing()) data->Cancel();
}

void TfrmPadraoGrid::sbtImprimirClick(TComponent* /*sender*/) {}
