#include "workspace/cli_dxr10900.h"

#include "ui/application.h"
#include "workspace/frm_distrato.h"

extern "C" {
TfrmDistrato* frmDistrato = nullptr;
bool boIdCriado = false;
bool boCancela = false;
std::string stCdEmpresa;
std::string stIdTpIJurClie;
std::int32_t inCtBaixadas = 0;
bool boMarca = false;
std::string stNrEndCliSub;
std::string stCdClieSub;
std::int32_t inContOrcaChecado = 0;
}

namespace {

// The hourglass while the screen is built and shown, whatever happens.
class WaitCursor {
 public:
  WaitCursor() { Application().SetCursor(crHourGlass); }
  ~WaitCursor() { Application().SetCursor(crDefault); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

extern "C" void CriaDistratoComercial() {
  WaitCursor wait;
  if (!boIdCriado || !frmDistrato) {
    frmDistrato = &Application().CreateForm<TfrmDistrato>("frmDistrato");
    boIdCriado = true;
  }
  frmDistrato->SetWindowState(wsNormal);
  frmDistrato->Show();
  frmDistrato->EndOpening();
}
