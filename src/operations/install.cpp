#include "operations/install.h"

#include "operations/sbt_distrato.h"
#include "operations/substituicao.h"
#include "workspace/frm_distrato.h"

namespace operations {

void InstallRescissionOperations() {
  DistratoOperations& hooks = DistratoOperationHooks();
  hooks.Distrato = sbtDistratoClick;
  hooks.CancContrat = sbtCancContratClick;
  hooks.Vd_NrInscricao = Vd_NrInscricao;
  hooks.Attach = AttachSubstitution;
}

namespace {
// Runs when the module is loaded: the package links this unit whole.
const bool installed = (InstallRescissionOperations(), true);
}  // namespace

}  // namespace operations
