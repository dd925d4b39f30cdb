#include "operations/install.h"

#include "operations/consolida_distrato.h"
#include "operations/distrato_total.h"
#include "operations/sbt_distrato.h"
#include "workspace/frm_distrato.h"

namespace operations {

void InstallRescissionOperations() {
  DistratoOperationHooks().Distrato = sbtDistratoClick;
  DistratoTotalHook() = DistratoTotal;
  DistratoOperationHooks().ConsolidaDistrato = sbtConsolidaDistratoClick;
}

}  // namespace operations
