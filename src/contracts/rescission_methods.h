#pragma once
// The remote methods of the partial rescission. Each takes its method's
// declaration, filled by argument name, and raises Exception on a refusal
// (the server's text, which may be an "N_PARAM_" key) and on a malformed
// answer.

#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// Whether the party is a party of another sequence of the budget.
bool GetContratRepetSeq(TNetConnection& net, const protocol::GetContratRepetSeq& call);

struct ValoresResult {
  Variant valores;  // element 0: the values row for cdsValores
  double pago = 0;  // element 1: what the party has paid
  double valor = 0; // element 2: the calculated amount, unsigned
};
ValoresResult ConfirmaValores(TNetConnection& net, const protocol::ConfirmaValores& call);

// The server's payload: empty text when the child budgets were generated.
Variant Distrato(TNetConnection& net, const protocol::Distrato& call);

}  // namespace contracts
