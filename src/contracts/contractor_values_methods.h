#pragma once
// The remote methods of the contractor values dialog. Each takes its
// method's declaration, filled by argument name, and raises Exception on a
// refusal (the server's text).

#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// The parties under review (cdsVrContratantes); `call.contratantes` comes
// back as the server stored them.
Variant InsContratDistrato(TNetConnection& net, protocol::InsContratDistrato& call);
Variant GetContratDistrato(TNetConnection& net, const protocol::GetContratDistrato& call);
// One party's installment plan (cdsFormaPgto); DeletaFormaPgto answers it emptied.
Variant GetFormaPgto(TNetConnection& net, const protocol::GetFormaPgto& call);
Variant DeletaFormaPgto(TNetConnection& net, const protocol::DeletaFormaPgto& call);
// Stores the confirmed parties and plan; answers the stored parties.
Variant SetConfirmar(TNetConnection& net, const protocol::SetConfirmar& call);

}  // namespace contracts
