#pragma once
// The remote methods of the rescission statement. Each takes its method's
// declaration, filled by argument name, and raises Exception on a refusal
// (the server's text).

#include "data/packet.h"
#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// One party's statement as the server recorded it.
struct TermoDistrato {
  DataPacket termo;       // one row: company, branch, budget, party, values
  DataPacket canceladas;  // the installments the rescission cancelled
  DataPacket geradas;     // the accounts the consolidation generated
  DataPacket historico;   // the party's history from the audit trail
};
TermoDistrato GetTermoDistrato(TNetConnection& net, const protocol::GetTermoDistrato& call);

// The parties of the budget whose rescission was undone: the packet of their keys.
Variant GetDistratosDesfeitos(TNetConnection& net, const protocol::GetDistratosDesfeitos& call);

}  // namespace contracts
