#include "contracts/rescission_methods.h"

#include "contracts/remote_call.h"

namespace contracts {

bool GetContratRepetSeq(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                        const std::string& cliente) {
  const Variant payload = CallChecked(net, "GetContratRepetSeq", {filial, orcamento, cliente});
  return !payload.isNull() && payload.asBool();
}

ValoresResult ConfirmaValores(TNetConnection& net, const ConfirmaValoresArgs& a) {
  const Variant payload =
      CallChecked(net, "ConfirmaValores",
                  {a.filial, a.orcamento, a.NRSEQORCAEVE, a.NRENDCLIORCEVE, a.empresa, a.vrTotalOrca, a.CDCLIENTE,
                   a.CDCLICONTSUBORE, a.modo});
  ValoresResult result;
  result.valores = Element(payload, 0, "ConfirmaValores");
  const Variant& e1 = Element(payload, 1, "ConfirmaValores");
  result.elemento1 = e1.isNull() ? 0 : e1.asDouble();
  const Variant& e2 = Element(payload, 2, "ConfirmaValores");
  result.valor = e2.isNull() ? 0 : e2.asDouble();
  return result;
}

Variant Distrato(TNetConnection& net, const DistratoArgs& a) {
  return CallChecked(net, "Distrato",
                     {a.filial, a.orcamento, a.NRSEQORCAEVE, a.NRENDCLIORCEVE, a.operador, a.CDCLIENTE, a.vrMulta,
                      a.CDCLICONTSUBORE, a.vrNegociado, a.valorSinalizado});
}

}  // namespace contracts
