#pragma once
// The remote methods the main screen's workspace calls: filter look-ups, the
// list of contracting parties, their accounts and the two questions of the
// command availability. Arguments are in the server's order; each wrapper
// raises Exception on a refusal (the server's text) and on a malformed answer.

#include <array>
#include <string>

#include "data/variant.h"

class TNetConnection;

namespace contracts {

// Budgets of a branch (cdsPesqOrca).
Variant GetPesqOrca(TNetConnection& net, const std::string& filial);
// The sequences of one budget (cdsVdOrca); empty when it is not registered.
Variant GetVdOrca(TNetConnection& net, const std::string& filial, const std::string& orcamento);
// The company related to branch and budget (cdsEmpresaRelac).
Variant GetEmpresaRelac(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                        const std::string& sequencial);

struct DadosCompResult {
  Variant dados;       // cdsDadosComp
  std::string total;   // the budget's grand total, as text for nedVrTotalOrca
};
DadosCompResult DadosComp(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                          const std::string& sequencial);

// Bank accounts of a company: mode "VD" validates one code, "" lists them.
Variant GetContCorr(TNetConnection& net, const std::string& empresa, const std::string& codigo,
                    const std::string& modo);

// Contracting parties of a budget (cdsContratante).
Variant GetContratante(TNetConnection& net, const std::string& filial, const std::string& orcamento);

// The party key and codes GetContas reads, in its argument order.
struct ContasArgs {
  std::string empresa;  // stCdEmpresa, not the branch
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string CDCLIENTE;
  std::string NRENDCLIORCEVE;
  std::string IDCONTPROCESDIST;
  std::string IDORIGEMINCLUSAO;
  std::string IDTRANSFCOTAREALI;
  std::string IDTPDISTRATOREALI;
};
struct ContasResult {
  Variant receber;        // cdsContas
  int baixadas = 0;       // inCtBaixadas
  Variant pagar;          // cdsContasPagar
};
ContasResult GetContas(TNetConnection& net, const ContasArgs& args);

// Five flags F0 to F4 about the party and its budget.
std::array<bool, 5> GetExisContOrca(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                                    const std::string& sequencial, const std::string& inscricaoSubstituto,
                                    const std::string& cliente);
// Whether the party came into the budget by a substitution.
bool NovoContratante(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                     const std::string& sequencial, const std::string& cliente);

}  // namespace contracts
