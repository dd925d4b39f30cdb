// Unit Cli_DXR10902: the global of the shortfall list and its creator.

#include "dialogs/cli_dxr10902.h"

#include "dialogs/frm_erro_prod_distrato.h"
#include "ui/ui_service.h"

namespace Cli_DXR10902 {
TfrmErroProdDistrato* frmErroProdDistrato = nullptr;
}  // namespace Cli_DXR10902

using namespace Cli_DXR10902;

namespace {
// The default cursor comes back and the reference is cleared however the
// list ends.
struct DialogScope {
  ~DialogScope() {
    frmErroProdDistrato = nullptr;
    Ui().SetCursor(crDefault);
  }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) void CriaErroProd(TClientDataSet& dataset, const std::string& text) {
  DialogScope scope;
  Ui().SetCursor(crHourGlass);
  auto dialog = MakeComponent<TfrmErroProdDistrato>();
  dialog->DoCreate();
  frmErroProdDistrato = dialog.get();
  dialog->ShowProducts(&dataset);
  dialog->memInforma.SetText(text);
  Ui().SetCursor(crDefault);
  dialog->ShowModal();
  // The grid lets go of the caller's dataset before the dialog goes.
  dialog->ShowProducts(nullptr);
  dialog->Teardown();
}
