// Unit Cli_DXR10901: the globals of "Confirmar Valores" and its creator.

#include "dialogs/cli_dxr10901.h"

#include <memory>

#include "dialogs/frm_conf_valores.h"
#include "ui/ui_service.h"

namespace Cli_DXR10901 {
TfrmConfValores* frmConfValores = nullptr;
double doVrCalculado = 0;
double doVrNeg = 0;
double doVrPerc = 0;
double doVrMulta = 0;
bool boEditaTela = false;
bool boConfirma = false;
Variant oleFormaPgto;
bool boOk = false;
}  // namespace Cli_DXR10901

using namespace Cli_DXR10901;

namespace {
// The default cursor comes back and the reference is cleared however the
// dialog ends.
struct DialogScope {
  ~DialogScope() {
    frmConfValores = nullptr;
    Ui().SetCursor(crDefault);
  }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) Variant CriaConfValores(TfrmDistrato& owner, double vrCalculado,
                                                                         double vrNeg, double vrPerc, double vrMulta,
                                                                         bool editaTela) {
  DialogScope scope;
  Ui().SetCursor(crHourGlass);
  auto dialog = MakeComponent<TfrmConfValores>(owner);
  dialog->DoCreate();
  frmConfValores = dialog.get();
  doVrCalculado = vrCalculado;
  doVrNeg = vrNeg;
  doVrPerc = vrPerc;
  doVrMulta = vrMulta;
  boEditaTela = editaTela;
  // An OK of an earlier run must not make this run's close keep the values
  // passed in: a dialog closed without OK returns [false, Null, 0, 0].
  boOk = false;
  Ui().SetCursor(crDefault);  // the wait cursor covers the creation only
  dialog->ShowModal();
  Variant result = MakeArray({Variant(boConfirma), oleFormaPgto, Variant(doVrNeg), Variant(doVrMulta)});
  dialog->Teardown();
  return result;
}
