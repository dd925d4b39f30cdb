#pragma once
// TfrmPadraoSimples: the base of the modal maintenance dialogs. The tool bar
// `panMenu` carries the standard commands (Incluir, Excluir, Procurar,
// Verificar and Imprimir start disabled; the dialog decides when they
// apply), then Ajuda and Sair, and the screen code `lblCodTela`; the main
// menu `mnuMenu` holds them in `mnuManutencao`, Ajuda after the standard
// ones, followed by `mnuSair`, whose handler ends the dialog with mrCancel.
// The tool bar, menu and catalogues come from TfrmPadraoComandos.
//
// Handlers are virtual, for the dialog to override and call as inherited.
// Closing only hides the dialog: its creator routine destroys it.

#include <string>

#include "lib/frm_padrao_comandos.h"

class TfrmPadraoSimples : public TfrmPadraoComandos {
 public:
  explicit TfrmPadraoSimples(const std::string& screenCode);

  TButtonFlat& sbtAjuda;
  TButtonFlat& sbtSair;

  // Ends the dialog with mrCancel (closes it when it is not modal).
  void mnuSairClick(TComponent* sender) override;
  virtual void sbtAjudaClick(TComponent* sender);
};
