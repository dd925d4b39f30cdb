#include "lib/frm_padrao_grid.h"

#include "lib/procurar.h"
#include "ui/ui_service.h"

namespace {
constexpr int kNavigatorHeight = 25;
}  // namespace

TfrmPadraoGrid::TfrmPadraoGrid(const std::string& screenCode)
    : TfrmPadraoComandos(screenCode, {}),
      panNavigator(Add<TPanel>("panNavigator", this)),
      dbtNome(Add<TDBText>("dbtNome", &panNavigator)),
      pgcPadrao(Add<TPageControl>("pgcPadrao", this)),
      tshPadrao(Add<TTabSheet>("tshPadrao", &pgcPadrao)),
      scbFolhaDados(Add<TScrollBox>("scbFolhaDados", &tshPadrao)),
      dbgPadrao(Add<TDBGrid>("dbgPadrao", &scbFolhaDados)) {
  SetFormStyle(fsMDIChild);

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
  dbgPadrao.OnKeyDown = [this](TComponent* s, int& key, TShiftState shift) { dbgPadraoKeyDown(s, key, shift); };
  dtsPadrao.OnStateChange = [this](TDataSource&) { dtsPadraoStateChange(FindComponent("dtsPadrao")); };
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

void TfrmPadraoGrid::sbtExcluirClick(TComponent* /*sender*/) {
  TClientDataSet* data = ListData();
  if (!data || !data->Active() || data->IsEmpty()) return;
  if (MessageDlg("Confirma a exclusão do registro?", mtConfirmation, mbYesNo) == mrYes) data->Delete();
}

void TfrmPadraoGrid::sbtProcurarClick(TComponent* /*sender*/) {
  if (TClientDataSet* data = ListData()) Procura(*data);
}

void TfrmPadraoGrid::sbtConfirmarClick(TComponent* /*sender*/) {
  TClientDataSet* data = ListData();
  if (!data || !data->Active()) return;
  // The speed button leaves the focus in the grid, so what the user typed
  // into the cell has not reached the field yet.
  dbgPadrao.CommitEditor();
  if (ListEditing()) data->Post();
}

