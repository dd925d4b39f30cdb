#include "contracts/total_methods.h"

#include "contracts/remote_call.h"
#include "lib/consiste.h"
#include "net/net_connection.h"

namespace contracts {

Variant ConfValTodosCont(TNetConnection& net, const ConfValTodosContArgs& a) {
  return CallChecked(net, "ConfValTodosCont",
                     {a.filial, a.orcamento, a.operador, a.empresa, a.contratantes, a.vrTotalOrca, a.modo});
}

Variant DistratoTotal(TNetConnection& net, const DistratoTotalArgs& a) {
  return CallChecked(net, "DistratoTotal", {a.filial, a.orcamento, a.operador, a.empresa, a.contratantes, a.valores});
}

bool VdOrcaAprovado(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                    const std::string& seq, const std::string& cliente) {
  std::vector<Variant> args{filial, orcamento, seq, cliente};
  const Variant raw = net.Call("VdOrcaAprovado", args);
  // The answer is [status, flag]; the flag is read as it comes.
  const Variant& flag = raw.isArray() && raw.asArray().size() == 2 ? raw.asArray()[1] : raw;
  return !flag.isNull() && flag.asBool();
}

void ConsolidaDistrato(TNetConnection& net, const ConsolidaDistratoArgs& a) {
  std::vector<Variant> args{a.filial,        a.orcamento, a.NRSEQORCAEVE, a.NRENDCLIORCEVE,
                            a.formaPgto,     a.vrNegociado, a.operador,   a.contaCorrente,
                            a.CDCLIENTE,     a.valorPago,   a.GERACTPAGAR, a.CDCLICONTSUBORE};
  CheckResultServ(net.Call("ConsolidaDistrato", args), true, 0);
}

void ConsolidaDistratoTotal(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                            const std::string& operador, const std::string& contaCorrente,
                            const Variant& contratantes) {
  CallChecked(net, "ConsolidaDistratoTotal", {filial, orcamento, operador, contaCorrente, contratantes});
}

}  // namespace contracts
