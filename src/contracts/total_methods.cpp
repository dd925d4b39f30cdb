#include "contracts/total_methods.h"

#include <string>
#include <vector>

#include "contracts/remote_call.h"
#include "net/net_connection.h"

namespace contracts {

Variant ConfValTodosCont(TNetConnection& net, const protocol::ConfValTodosCont& call) { return Call(net, call); }

Variant DistratoTotal(TNetConnection& net, const protocol::DistratoTotal& call) { return Call(net, call); }

// Checked like every call: a refusal shows the server's own message.
bool VdOrcaAprovado(TNetConnection& net, const protocol::VdOrcaAprovado& call) { return Flag(Call(net, call)); }

void ConsolidaDistrato(TNetConnection& net, const protocol::ConsolidaDistrato& call) { Call(net, call); }

void ConsolidaDistratoTotal(TNetConnection& net, const protocol::ConsolidaDistratoTotal& call) { Call(net, call); }

}  // namespace contracts
