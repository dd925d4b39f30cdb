#include "contracts/contractor_values_methods.h"

#include "contracts/remote_call.h"

namespace contracts {

Variant InsContratDistrato(TNetConnection& net, protocol::InsContratDistrato& call) { return Call(net, call); }

Variant GetContratDistrato(TNetConnection& net, const protocol::GetContratDistrato& call) { return Call(net, call); }

Variant GetFormaPgto(TNetConnection& net, const protocol::GetFormaPgto& call) { return Call(net, call); }

Variant DeletaFormaPgto(TNetConnection& net, const protocol::DeletaFormaPgto& call) { return Call(net, call); }

Variant SetConfirmar(TNetConnection& net, const protocol::SetConfirmar& call) { return Call(net, call); }

}  // namespace contracts
