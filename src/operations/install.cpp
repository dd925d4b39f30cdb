#include "operations/install.h"

#include "operations/cancela_distrato.h"
#include "operations/consolida_distrato.h"
#include "operations/distrato_total.h"
#include "operations/sbt_distrato.h"
#include "operations/substituicao.h"
#include "operations/termo_distrato.h"
#include "workspace/frm_distrato.h"

namespace operations {

void InstallRescissionOperations() {
  DistratoOperations& hooks = DistratoOperationHooks();
  hooks.Distrato = sbtDistratoClick;
  hooks.ConsolidaDistrato = sbtConsolidaDistratoClick;
  hooks.CancelaDistrato = sbtCancelaDistratoClick;
  hooks.CancContrat = sbtCancContratClick;
  hooks.TermoDistrato = mnuTermoDistratoClick;
  hooks.Vd_NrInscricao = Vd_NrInscricao;
  hooks.Attach = AttachSubstitution;
  DistratoTotalHook() = DistratoTotal;
}

}  // namespace operations
