#include "contracts/rescission_methods.h"

#include "contracts/remote_call.h"

namespace contracts {

namespace {
double Number(const Variant& value) { return value.isNull() ? 0 : value.asDouble(); }
}  // namespace

bool GetContratRepetSeq(TNetConnection& net, const protocol::GetContratRepetSeq& call) {
  return Flag(Call(net, call));
}

ValoresResult ConfirmaValores(TNetConnection& net, const protocol::ConfirmaValores& call) {
  const Variant payload = Call(net, call);
  ValoresResult result;
  result.valores = Element(payload, 0, call.kName);
  result.pago = Number(Element(payload, 1, call.kName));
  result.valor = Number(Element(payload, 2, call.kName));
  return result;
}

Variant Distrato(TNetConnection& net, const protocol::Distrato& call) { return Call(net, call); }

}  // namespace contracts
