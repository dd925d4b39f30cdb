#pragma once
// The remote methods the main screen's workspace calls: filter look-ups, the
// list of contracting parties, their accounts and the two questions of the
// command availability. Each takes its method's declaration, filled by
// argument name, and raises Exception on a refusal (the server's text) and on
// a malformed answer.

#include <array>
#include <string>

#include "data/variant.h"
#include "protocol/distrato_methods.h"

class TNetConnection;

namespace contracts {

// Budgets of a branch (cdsPesqOrca).
Variant GetPesqOrca(TNetConnection& net, const protocol::GetPesqOrca& call);
// The sequences of one budget (cdsVdOrca); empty when it is not registered.
Variant GetVdOrca(TNetConnection& net, const protocol::GetVdOrca& call);
// The company related to branch and budget (cdsEmpresaRelac).
Variant GetEmpresaRelac(TNetConnection& net, const protocol::GetEmpresaRelac& call);

struct DadosCompResult {
  Variant dados;       // cdsDadosComp
  std::string total;   // the budget's grand total, as text for nedVrTotalOrca
};
DadosCompResult DadosComp(TNetConnection& net, const protocol::DadosComp& call);

// Bank accounts of a company: mode "VD" validates one code, "" lists them.
Variant GetContCorr(TNetConnection& net, const protocol::GetContCorr& call);

// Contracting parties of a budget (cdsContratante).
Variant GetContratante(TNetConnection& net, const protocol::GetContratante& call);

struct ContasResult {
  Variant receber;        // cdsContas
  int baixadas = 0;       // inCtBaixadas
  Variant pagar;          // cdsContasPagar
};
ContasResult GetContas(TNetConnection& net, const protocol::GetContas& call);

// Five flags F0 to F4 about the party and its budget.
std::array<bool, 5> GetExisContOrca(TNetConnection& net, const protocol::GetExisContOrca& call);
// Whether the party came into the budget by a substitution.
bool NovoContratante(TNetConnection& net, const protocol::NovoContratante& call);

}  // namespace contracts
