#pragma once
// TfrmRotiGeral: the base of the small modal dialogs that ask for a few
// values and confirm. The fields go in the group box `grbDadosRel`; the
// button panel `panBotoes` at the bottom holds the screen code
// `lblCodTela`, the confirm button `sbtConfirma` and the cancel button
// `sbtCancel`, whose base handler ends the dialog with mrCancel.
// `msgPadrao` is the dialog's catalogue. Closing only hides the dialog: its
// creator routine destroys it.

#include <string>

#include "lib/button_flat.h"
#include "lib/crv_msg.h"
#include "ui/containers.h"
#include "ui/form.h"
#include "ui/static_controls.h"

class TfrmRotiGeral : public TForm {
 public:
  explicit TfrmRotiGeral(const std::string& screenCode);

  TPanel& panBotoes;
  TLabel& lblCodTela;
  TButtonFlat& sbtConfirma;
  TButtonFlat& sbtCancel;
  TGroupBox& grbDadosRel;
  TMessages& msgPadrao;

  virtual void FormCreate(TComponent* sender);
  virtual void FormClose(TComponent* sender, TCloseAction& action);
  virtual void sbtConfirmaClick(TComponent* sender);
  virtual void sbtCancelClick(TComponent* sender);

 private:
  void PlaceButtons();
  void WireHandlers();
};
