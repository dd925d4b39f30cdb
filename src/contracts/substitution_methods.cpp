#include "contracts/substitution_methods.h"

#include "contracts/remote_call.h"

namespace contracts {

Variant GetRepetContrat(TNetConnection& net, const protocol::GetRepetContrat& call) { return Call(net, call); }
Variant GetContSub(TNetConnection& net, const protocol::GetContSub& call) { return Call(net, call); }
Variant GetVdClie(TNetConnection& net, const protocol::GetVdClie& call) { return Call(net, call); }
void SubstituirContratante(TNetConnection& net, const protocol::SubstituirContratante& call) { Call(net, call); }
void TransfCotas(TNetConnection& net, const protocol::TransfCotas& call) { Call(net, call); }

}  // namespace contracts
