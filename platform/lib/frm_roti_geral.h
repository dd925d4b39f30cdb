#pragma once
// TfrmRotiGeral: the base of the small modal dialogs that ask for a few
// values and confirm. The fields go in the group box `grbDadosRel`; the
// button panel `panBotoes` at the bottom holds the screen code
// `lblCodTela`, the confirm button `sbtConfirma` and the cancel button
// `sbtCancel`, whose base handler ends the dialog with mrCancel. The code
// label and the catalogue `msgPadrao` come from TfrmPadrao. Closing only
// hides the dialog: its creator routine destroys it.

#include <string>

#include "lib/button_flat.h"
#include "lib/frm_padrao.h"
#include "ui/containers.h"

class TfrmRotiGeral : public TfrmPadrao {
 public:
  explicit TfrmRotiGeral(const std::string& screenCode);

  TPanel& panBotoes;
  TButtonFlat& sbtConfirma;
  TButtonFlat& sbtCancel;
  TGroupBox& grbDadosRel;

  virtual void sbtConfirmaClick(TComponent* sender);
  virtual void sbtCancelClick(TComponent* sender);

 private:
  void PlaceButtons();
};
