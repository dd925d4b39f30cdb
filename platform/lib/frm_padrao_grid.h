#pragma once
// TfrmPadraoGrid: the base of the maintenance screens that work on a list.
// An MDI child with the tool bar `panMenu` (the standard commands and the
// screen code `lblCodTela` at its right), the page `pgcPadrao`/`tshPadrao`
// whose scroll box `scbFolhaDados` holds the screen's own panels and the
// list grid `dbgPadrao` bound to `dtsPadrao`, the navigator `panNavigator`
// with `dbtNome` at the bottom, the main menu `mnuMenu` with `mnuManutencao`,
// and the catalogues `msgPadrao` (the screen's) and `msgMensagensPadroes`.
//
// The handlers are virtual: a screen overrides them and calls the base
// version where it runs the inherited behaviour. Each tool-bar button's
// menu entry runs the button's click and follows its enabled state.
//
// Closing frees the form (caFree): the application destroys it once the
// closing event is over, running OnDestroy first, where a module that
// creates its screen once clears its created flag.

#include <string>

#include "data/data_source.h"
#include "lib/button_flat.h"
#include "lib/crv_msg.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/db_text.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/static_controls.h"

class TfrmPadraoGrid : public TForm {
 public:
  explicit TfrmPadraoGrid(const std::string& screenCode);

  TMainMenu& mnuMenu;
  TMenuItem& mnuManutencao;
  TPanel& panMenu;
  TButtonFlat& sbtIncluir;
  TButtonFlat& sbtAlterar;
  TButtonFlat& sbtExcluir;
  TButtonFlat& sbtProcurar;
  TButtonFlat& sbtVerificar;
  TButtonFlat& sbtCancelar;
  TButtonFlat& sbtConfirmar;
  TButtonFlat& sbtImprimir;
  TMenuItem& mnuLinha1;
  TMenuItem& mnuSair;
  TLabel& lblCodTela;
  TPanel& panNavigator;
  TDBText& dbtNome;
  TPageControl& pgcPadrao;
  TTabSheet& tshPadrao;
  TScrollBox& scbFolhaDados;
  TDataSource& dtsPadrao;
  TDBGrid& dbgPadrao;
  TMessages& msgPadrao;
  TMessages& msgMensagensPadroes;

  virtual void FormCreate(TComponent* sender);
  virtual void FormClose(TComponent* sender, TCloseAction& action);
  // Ctrl+Delete does not delete rows here: the list mirrors the server.
  virtual void dbgPadraoKeyDown(TComponent* sender, int& key, TShiftState shift);
  // Editing the list: only Confirmar and Cancelar; otherwise the reverse.
  virtual void dtsPadraoStateChange(TComponent* sender);
  virtual void sbtIncluirClick(TComponent* sender);
  virtual void sbtAlterarClick(TComponent* sender);
  virtual void sbtExcluirClick(TComponent* sender);
  virtual void sbtProcurarClick(TComponent* sender);
  virtual void sbtVerificarClick(TComponent* sender);
  // Writes what the grid's editor holds and posts the list's pending edit.
  virtual void sbtConfirmarClick(TComponent* sender);
  // Abandons the list's pending edit.
  virtual void sbtCancelarClick(TComponent* sender);
  virtual void sbtImprimirClick(TComponent* sender);

 protected:
  TClientDataSet* ListData() const { return dtsPadrao.DataSet(); }
  bool ListEditing() const;

 private:
  void WireHandlers();
};
