#pragma once
// The remote methods of undoing a rescission and of the operator's
// confirmation. Each takes its method's declaration, filled by argument name,
// and raises Exception on a refusal (the server's text). Called from the
// user-interface thread, like the connection they use.

#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// The approving operators, one or all ("T"): the packet for cdsOperador.
Variant GetOperador(TNetConnection& net, const protocol::GetOperador& call);

// True when the server accepted the password; it then approves one undo on
// this connection. A locked-out operator is refused with the server's text.
bool ConfirmaSenhaOperador(TNetConnection& net, const protocol::ConfirmaSenhaOperador& call);

// False when a commission was already generated.
bool Vd_ExistComisGerada(TNetConnection& net, const protocol::Vd_ExistComisGerada& call);

// Status only.
void DesfazerDistrato(TNetConnection& net, const protocol::DesfazerDistrato& call);

}  // namespace contracts
