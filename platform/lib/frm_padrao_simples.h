#pragma once
// TfrmPadraoSimples: the base of the modal maintenance dialogs. The tool bar
// `panMenu` carries the standard commands (Incluir, Excluir, Procurar,
// Verificar and Imprimir start disabled; the dialog decides when they
// apply) and the screen code `lblCodTela`; the main menu `mnuMenu` holds
// them in `mnuManutencao`, followed by `mnuSair`, whose handler ends the
// dialog with mrCancel. `dtsPadrao` is the dialog's main data source;
// `msgPadrao` and `msgMensagensPadroes` its catalogues.
//
// Handlers are virtual, for the dialog to override and call as inherited.
// Closing only hides the dialog: its creator routine destroys it.

#include <string>

#include "data/data_source.h"
#include "lib/button_flat.h"
#include "lib/crv_msg.h"
#include "ui/containers.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/static_controls.h"

class TfrmPadraoSimples : public TForm {
 public:
  explicit TfrmPadraoSimples(const std::string& screenCode);

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
  TButtonFlat& sbtAjuda;
  TButtonFlat& sbtSair;
  TMenuItem& mnuLinha1;
  TMenuItem& mnuSair;
  TLabel& lblCodTela;
  TDataSource& dtsPadrao;
  TMessages& msgPadrao;
  TMessages& msgMensagensPadroes;

  virtual void FormCreate(TComponent* sender);
  virtual void FormClose(TComponent* sender, TCloseAction& action);
  virtual void mnuSairClick(TComponent* sender);
  virtual void sbtIncluirClick(TComponent* sender);
  virtual void sbtAlterarClick(TComponent* sender);
  virtual void sbtExcluirClick(TComponent* sender);
  virtual void sbtProcurarClick(TComponent* sender);
  virtual void sbtVerificarClick(TComponent* sender);
  // Posts the pending edit of dtsPadrao's dataset.
  virtual void sbtConfirmarClick(TComponent* sender);
  // Abandons the pending edit of dtsPadrao's dataset.
  virtual void sbtCancelarClick(TComponent* sender);
  virtual void sbtImprimirClick(TComponent* sender);
  virtual void sbtAjudaClick(TComponent* sender);

 private:
  void WireHandlers();
};
