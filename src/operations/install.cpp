#include "operations/install.h"

#include "operations/sbt_distrato.h"
#include "workspace/frm_distrato.h"

namespace operations {

void InstallRescissionOperations() { DistratoOperationHooks().Distrato = sbtDistratoClick; }

}  // namespace operations
