#include "contracts/undo_methods.h"

#include <string>
#include <vector>

#include "contracts/remote_call.h"
#include "net/net_connection.h"

namespace contracts {

Variant GetOperador(TNetConnection& net, const protocol::GetOperador& call) { return Call(net, call); }

bool ConfirmaSenhaOperador(TNetConnection& net, const protocol::ConfirmaSenhaOperador& call) {
  return Flag(Call(net, call));
}

// Checked like every call: a refusal shows the server's own message.
bool Vd_ExistComisGerada(TNetConnection& net, const protocol::Vd_ExistComisGerada& call) {
  return Flag(Call(net, call));
}

void DesfazerDistrato(TNetConnection& net, const protocol::DesfazerDistrato& call) { Call(net, call); }

}  // namespace contracts
