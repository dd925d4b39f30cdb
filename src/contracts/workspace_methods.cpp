#include "contracts/workspace_methods.h"

#include "contracts/remote_call.h"
#include "data/exceptions.h"

namespace contracts {

Variant GetPesqOrca(TNetConnection& net, const std::string& filial) {
  return CallChecked(net, "GetPesqOrca", {filial});
}

Variant GetVdOrca(TNetConnection& net, const std::string& filial, const std::string& orcamento) {
  return CallChecked(net, "GetVdOrca", {filial, orcamento});
}

Variant GetEmpresaRelac(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                        const std::string& sequencial) {
  return CallChecked(net, "GetEmpresaRelac", {filial, orcamento, sequencial});
}

DadosCompResult DadosComp(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                          const std::string& sequencial) {
  const Variant payload = CallChecked(net, "DadosComp", {filial, orcamento, sequencial});
  return {Element(payload, 0, "DadosComp"), Element(payload, 1, "DadosComp").asText()};
}

Variant GetContCorr(TNetConnection& net, const std::string& empresa, const std::string& codigo,
                    const std::string& modo) {
  return CallChecked(net, "GetContCorr", {empresa, codigo, modo});
}

Variant GetContratante(TNetConnection& net, const std::string& filial, const std::string& orcamento) {
  return CallChecked(net, "GetContratante", {filial, orcamento});
}

ContasResult GetContas(TNetConnection& net, const ContasArgs& a) {
  const Variant payload = CallChecked(
      net, "GetContas",
      {a.empresa, a.orcamento, a.NRSEQORCAEVE, a.CDCLIENTE, a.NRENDCLIORCEVE, a.IDCONTPROCESDIST, a.IDORIGEMINCLUSAO,
       a.IDTRANSFCOTAREALI, a.IDTPDISTRATOREALI});
  ContasResult result;
  result.receber = Element(payload, 0, "GetContas");
  const Variant& count = Element(payload, 1, "GetContas");
  result.baixadas = count.isNull() ? 0 : static_cast<int>(count.asInt());
  result.pagar = Element(payload, 2, "GetContas");
  return result;
}

std::array<bool, 5> GetExisContOrca(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                                    const std::string& sequencial, const std::string& inscricaoSubstituto,
                                    const std::string& cliente) {
  const Variant payload =
      CallChecked(net, "GetExisContOrca", {filial, orcamento, sequencial, inscricaoSubstituto, cliente});
  std::array<bool, 5> flags{};
  for (std::size_t i = 0; i < flags.size(); ++i) {
    const Variant& flag = Element(payload, i, "GetExisContOrca");
    flags[i] = !flag.isNull() && flag.asBool();
  }
  return flags;
}

bool NovoContratante(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                     const std::string& sequencial, const std::string& cliente) {
  const Variant payload = CallChecked(net, "NovoContratante", {filial, orcamento, sequencial, cliente});
  return !payload.isNull() && payload.asBool();
}

}  // namespace contracts
