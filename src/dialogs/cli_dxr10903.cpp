// Unit Cli_DXR10903: the globals of "Confirmar Valor Contratante" and its
// creator.

#include "dialogs/cli_dxr10903.h"

#include <memory>

#include "dialogs/frm_conf_vr_contrat.h"
#include "ui/ui_service.h"

namespace Cli_DXR10903 {
TfrmConfVrContrat* frmConfVrContrat = nullptr;
Variant oleContratante;
bool boEditaTela = false;
bool boGeraConta = false;
bool boGerar = false;
}  // namespace Cli_DXR10903

using namespace Cli_DXR10903;

namespace {
struct DialogScope {
  ~DialogScope() {
    frmConfVrContrat = nullptr;
    Ui().SetCursor(crDefault);
  }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) Variant CriaConfVrContrat(TfrmDistrato& owner,
                                                                           const Variant& contratantes,
                                                                           bool editaTela) {
  DialogScope scope;
  Ui().SetCursor(crHourGlass);
  auto dialog = MakeComponent<TfrmConfVrContrat>(owner);
  dialog->DoCreate();
  frmConfVrContrat = dialog.get();
  boGerar = false;
  oleContratante = contratantes;
  boEditaTela = editaTela;
  Ui().SetCursor(crDefault);  // the wait cursor covers the creation only
  dialog->ShowModal();
  Variant result = MakeArray({Variant(boGeraConta), oleContratante});
  dialog->Teardown();
  return result;
}
