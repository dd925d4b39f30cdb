#include "contracts/workspace_methods.h"

#include "contracts/remote_call.h"
#include "data/exceptions.h"

namespace contracts {

Variant GetPesqOrca(TNetConnection& net, const protocol::GetPesqOrca& call) { return Call(net, call); }

Variant GetVdOrca(TNetConnection& net, const protocol::GetVdOrca& call) { return Call(net, call); }

Variant GetEmpresaRelac(TNetConnection& net, const protocol::GetEmpresaRelac& call) { return Call(net, call); }

DadosCompResult DadosComp(TNetConnection& net, const protocol::DadosComp& call) {
  const Variant payload = Call(net, call);
  return {Element(payload, 0, call.kName), Element(payload, 1, call.kName).asText()};
}

Variant GetContCorr(TNetConnection& net, const protocol::GetContCorr& call) { return Call(net, call); }

Variant GetContratante(TNetConnection& net, const protocol::GetContratante& call) { return Call(net, call); }

ContasResult GetContas(TNetConnection& net, const protocol::GetContas& call) {
  const Variant payload = Call(net, call);
  ContasResult result;
  result.receber = Element(payload, 0, call.kName);
  const Variant& count = Element(payload, 1, call.kName);
  result.baixadas = count.isNull() ? 0 : static_cast<int>(count.asInt());
  result.pagar = Element(payload, 2, call.kName);
  return result;
}

std::array<bool, 5> GetExisContOrca(TNetConnection& net, const protocol::GetExisContOrca& call) {
  const Variant payload = Call(net, call);
  std::array<bool, 5> flags{};
  for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = Flag(Element(payload, i, call.kName));
  return flags;
}

bool NovoContratante(TNetConnection& net, const protocol::NovoContratante& call) { return Flag(Call(net, call)); }

}  // namespace contracts
