#include "operations/install.h"

#include "operations/sbt_distrato.h"
#include "workspace/frm_distrato.h"

namespace operations {

void InstallRescissionOperations() { DistratoOperationHooks().Distrato = sbtDistratoClick; }

namespace {
// Runs when the module is loaded: the package links this unit whole.
const bool installed = (InstallRescissionOperations(), true);
}  // namespace

}  // namespace operations
