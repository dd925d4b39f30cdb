#include "operations/sbt_distrato.h"

#include "operations/distrato_parcial.h"
#include "workspace/frm_distrato.h"

namespace operations {

std::function<void(TfrmDistrato&)>& DistratoTotalHook() {
  static std::function<void(TfrmDistrato&)> hook;
  return hook;
}

void sbtDistratoClick(TfrmDistrato& screen) {
  if (screen.rbtParcial.Checked())
    DistratoParcial(screen);
  else if (DistratoTotalHook())
    DistratoTotalHook()(screen);
}

}  // namespace operations
