#include "contracts/undo_methods.h"

#include <string>
#include <vector>

#include "contracts/remote_call.h"
#include "net/net_connection.h"

namespace contracts {

Variant GetOperador(TNetConnection& net, const protocol::GetOperador& call) { return Call(net, call); }

bool ConfirmaSenhaOperador(TNetConnection& net, const protocol::ConfirmaSenhaOperador& call) {
  const Variant payload = Call(net, call);
  return !payload.isNull() && payload.asBool();
}

bool Vd_ExistComisGerada(TNetConnection& net, const protocol::Vd_ExistComisGerada& call) {
  std::vector<Variant> args = protocol::Encode(call);
  const Variant raw = net.Call(std::string(call.kName), args);
  // Read as it comes, like VdOrcaAprovado: [status, flag] or the flag.
  const Variant& flag = raw.isArray() && raw.asArray().size() == 2 ? raw.asArray()[1] : raw;
  return !flag.isNull() && flag.asBool();
}

void DesfazerDistrato(TNetConnection& net, const protocol::DesfazerDistrato& call) { Call(net, call); }

}  // namespace contracts
