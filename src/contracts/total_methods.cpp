#include "contracts/total_methods.h"

#include <string>
#include <vector>

#include "contracts/remote_call.h"
#include "net/net_connection.h"

namespace contracts {

Variant ConfValTodosCont(TNetConnection& net, const protocol::ConfValTodosCont& call) { return Call(net, call); }

Variant DistratoTotal(TNetConnection& net, const protocol::DistratoTotal& call) { return Call(net, call); }

bool VdOrcaAprovado(TNetConnection& net, const protocol::VdOrcaAprovado& call) {
  std::vector<Variant> args = protocol::Encode(call);
  const Variant raw = net.Call(std::string(call.kName), args);
  // The answer is [status, flag]; the flag is read as it comes.
  const Variant& flag = raw.isArray() && raw.asArray().size() == 2 ? raw.asArray()[1] : raw;
  return !flag.isNull() && flag.asBool();
}

void ConsolidaDistrato(TNetConnection& net, const protocol::ConsolidaDistrato& call) { Call(net, call); }

void ConsolidaDistratoTotal(TNetConnection& net, const protocol::ConsolidaDistratoTotal& call) { Call(net, call); }

}  // namespace contracts
