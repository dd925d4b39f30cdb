// Unit Cli_DXR10905: the globals of "Confirmar Senha" and its creator.

#include "dialogs/cli_dxr10905.h"

#include "dialogs/frm_conf_senha_dist.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace Cli_DXR10905 {
std::string stOperador;
TfrmConfSenhaDist* frmConfSenhaDist = nullptr;
}  // namespace Cli_DXR10905

using namespace Cli_DXR10905;

namespace {
// The default cursor comes back and the reference is cleared however the
// dialog ends.
struct DialogScope {
  ~DialogScope() {
    frmConfSenhaDist = nullptr;
    Ui().SetCursor(crDefault);
  }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) std::string CriaConfSenha() {
  stOperador.clear();
  if (!frmDistrato) return stOperador;
  DialogScope scope;
  Ui().SetCursor(crHourGlass);
  auto dialog = MakeComponent<TfrmConfSenhaDist>(frmDistrato->netDistrato);
  dialog->DoCreate();
  frmConfSenhaDist = dialog.get();
  Ui().SetCursor(crDefault);
  dialog->ShowModal();
  std::string result = stOperador;
  dialog->Teardown();
  return result;
}
