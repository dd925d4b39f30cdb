#pragma once
// TfrmErroProdDistrato (unit Cli_DXR10902): "ATENÇÃO", the modal warning that
// lists the products whose budgeted quantity plus the negative quantity a
// rescission generates would fall below zero, under an explanatory text. It
// owns no data: its grid shows the caller's dataset through `dtsProduto`.
// User-interface thread only.

#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "ui/buttons.h"
#include "ui/containers.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/static_controls.h"

class TfrmErroProdDistrato : public TForm {
 public:
  TfrmErroProdDistrato();

  // The text shown before the caller replaces it.
  static const char* DefaultText();

  TPanel& Panel1;
  TImage& imgErroOri;
  TMemo& memInforma;
  TDBGrid& dbgMensagem;
  TPanel& Panel2;
  TButton& btnOK;
  TDataSource& dtsProduto;

  // Binds the list to `dataset`: with no columns of its own, the grid shows
  // the dataset's visible fields under their labels.
  void ShowProducts(TClientDataSet* dataset);

  void btnOKClick(TComponent* sender);
  void FormClose(TComponent* sender, TCloseAction& action);
  void FormKeyDown(TComponent* sender, int& key, TShiftState shift);
  void FormActivate(TComponent* sender);
};
