// Unit Cli_DXR10906: the globals of "Transferir Cotas" and its creator.

#include "dialogs/cli_dxr10906.h"

#include "dialogs/frm_transf_cotas.h"
#include "ui/ui_service.h"

namespace Cli_DXR10906 {
std::string stNomeContOrig;
std::string stNomeContDest;
double doValorTransf = 0;
double doQtConvidados = 0;
double doQtCotas = 0;
bool boOk = false;
bool boIdCriado = false;
TfrmTransfCotas* frmTransfCotas = nullptr;
}  // namespace Cli_DXR10906

using namespace Cli_DXR10906;

namespace {
// The default cursor comes back and the reference is cleared however the
// dialog ends.
struct DialogScope {
  ~DialogScope() {
    frmTransfCotas = nullptr;
    Ui().SetCursor(crDefault);
  }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) Variant CriaTrocaTitularidade(TComponent& /*owner*/,
                                                                               const std::string& origem,
                                                                               const std::string& destino,
                                                                               double valor) {
  DialogScope scope;
  Ui().SetCursor(crHourGlass);
  auto dialog = MakeComponent<TfrmTransfCotas>();
  dialog->DoCreate();
  frmTransfCotas = dialog.get();
  boIdCriado = true;
  stNomeContOrig = origem;
  stNomeContDest = destino;
  doValorTransf = valor;
  Ui().SetCursor(crDefault);
  dialog->ShowModal();
  Variant result = MakeArray({Variant(doValorTransf), Variant(doQtConvidados), Variant(doQtCotas)});
  dialog->Teardown();
  return result;
}
