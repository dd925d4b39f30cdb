#pragma once
// TfrmPadraoGrid: the base of the maintenance screens that work on a list.
// An MDI child with the tool bar `panMenu` (the standard commands and the
// screen code `lblCodTela` at its right), the page `pgcPadrao`/`tshPadrao`
// whose scroll box `scbFolhaDados` holds the screen's own panels and the
// list grid `dbgPadrao` bound to `dtsPadrao`, the navigator `panNavigator`
// with `dbtNome` at the bottom, the main menu `mnuMenu` with `mnuManutencao`,
// and the catalogues `msgPadrao` (the screen's) and `msgMensagensPadroes`.
//
// The tool bar, menu and catalogues come from TfrmPadraoComandos. The
// handlers are virtual: a screen overrides them and calls the base version
// where it runs the inherited behaviour.
//
// Closing frees the form (caFree): the application destroys it once the
// closing event is over, running OnDestroy first, where a module that
// creates its screen once clears its created flag.

#include <string>

#include "lib/frm_padrao_comandos.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/db_text.h"

class TfrmPadraoGrid : public TfrmPadraoComandos {
 public:
  explicit TfrmPadraoGrid(const std::string& screenCode);

  TPanel& panNavigator;
  TDBText& dbtNome;
  TPageControl& pgcPadrao;
  TTabSheet& tshPadrao;
  TScrollBox& scbFolhaDados;
  TDBGrid& dbgPadrao;

  void FormCreate(TComponent* sender) override;
  void FormClose(TComponent* sender, TCloseAction& action) override;
  // Ctrl+Delete does not delete rows here: the list mirrors the server.
  virtual void dbgPadraoKeyDown(TComponent* sender, int& key, TShiftState shift);
  // Editing the list: only Confirmar and Cancelar; otherwise the reverse.
  virtual void dtsPadraoStateChange(TComponent* sender);
  // Asks before deleting the current row.
  void sbtExcluirClick(TComponent* sender) override;
  void sbtProcurarClick(TComponent* sender) override;
  // Writes what the grid's editor holds and posts the list's pending edit.
  void sbtConfirmarClick(TComponent* sender) override;

 protected:
  TClientDataSet* ListData() const { return dtsPadrao.DataSet(); }
  bool ListEditing() const { return PadraoEditing(); }

 private:
  void WireHandlers();
};
