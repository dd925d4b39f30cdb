#pragma once
// The remote methods of the substitution of a contracting party. Each takes
// its method's declaration, filled by argument name, and raises Exception on
// a refusal (the server's text, which may be an "N_PARAM_" key) and on a
// malformed answer.

#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// Packets for cdsNewContrRepete, cdsContSub and cdsVdContratante.
Variant GetRepetContrat(TNetConnection& net, const protocol::GetRepetContrat& call);
Variant GetContSub(TNetConnection& net, const protocol::GetContSub& call);
Variant GetVdClie(TNetConnection& net, const protocol::GetVdClie& call);

// Status only: each returns when the server recorded the change.
void SubstituirContratante(TNetConnection& net, const protocol::SubstituirContratante& call);
void TransfCotas(TNetConnection& net, const protocol::TransfCotas& call);

}  // namespace contracts
