#pragma once
// The remote methods of the total rescission and of the consolidation. Each
// takes its method's declaration, filled by argument name, and raises
// Exception on a refusal (the server's text, which may be an "N_PARAM_" key).

#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// The values of every party, handed whole to the contractor values dialog.
Variant ConfValTodosCont(TNetConnection& net, const protocol::ConfValTodosCont& call);

// The server's payload: empty text when the child budgets were generated.
Variant DistratoTotal(TNetConnection& net, const protocol::DistratoTotal& call);

// True when the rescission's child budget is not approved.
bool VdOrcaAprovado(TNetConnection& net, const protocol::VdOrcaAprovado& call);

void ConsolidaDistrato(TNetConnection& net, const protocol::ConsolidaDistrato& call);
void ConsolidaDistratoTotal(TNetConnection& net, const protocol::ConsolidaDistratoTotal& call);

}  // namespace contracts
