#pragma once
// TfrmPadraoComandos: the base of the maintenance forms with a tool bar, for
// lists (TfrmPadraoGrid) and dialogs (TfrmPadraoSimples) alike. The tool bar
// `panMenu` carries the standard commands and the screen code at its right;
// the main menu `mnuMenu` holds them in `mnuManutencao`, then the form's own
// further commands, a separator `mnuLinha1` and `mnuSair`. `dtsPadrao` is the
// form's main data source; `msgMensagensPadroes` the standard catalogue.
//
// Each tool-bar button's menu entry runs the button's click and follows its
// enabled state. The handlers are virtual; the defaults work on dtsPadrao's
// dataset (insert, edit, post, cancel) and the rest do nothing.
// User-interface thread only.

#include <initializer_list>
#include <string>

#include "data/data_source.h"
#include "lib/button_flat.h"
#include "lib/command_bar.h"
#include "lib/frm_padrao.h"
#include "ui/containers.h"
#include "ui/menu.h"

class TfrmPadraoComandos : public TfrmPadrao {
 public:
  // `further` are the form's own commands, after the standard ones.
  TfrmPadraoComandos(const std::string& screenCode, std::initializer_list<CommandSpec> further);

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
  TDataSource& dtsPadrao;
  TMessages& msgMensagensPadroes;

  // Closes the form.
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

 protected:
  // dtsPadrao's dataset is being edited or inserted into.
  bool PadraoEditing() const;

 private:
  TMenuItem& AddFurther(std::initializer_list<CommandSpec> further);
  void WireHandlers();
};
