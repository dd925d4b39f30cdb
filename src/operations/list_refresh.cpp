#include "operations/list_refresh.h"

#include "workspace/frm_distrato.h"

namespace operations {

void ReloadOn(TfrmDistrato& screen, const std::string& client) {
  screen.sbtVerificar.Click();
  screen.cdsContratante.Locate("CDCLIENTE", Variant(client), loCaseInsensitive);
}

void ReloadQuietly(TfrmDistrato& screen, const std::string& client) noexcept {
  try {
    ReloadOn(screen, client);
  } catch (...) {
  }
}

}  // namespace operations
