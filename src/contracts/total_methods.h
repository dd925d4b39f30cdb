#pragma once
// The remote methods of the total rescission and of the consolidation, in
// the server's argument order. Each raises Exception on a refusal (the
// server's text, which may be an "N_PARAM_" key) except VdOrcaAprovado,
// whose raw answer is read as it comes.

#include <string>

#include "data/variant.h"

class TNetConnection;

namespace contracts {

struct ConfValTodosContArgs {
  std::string filial;
  std::string orcamento;
  std::string operador;
  std::string empresa;     // stCdEmpresa
  Variant contratantes;    // the whole cdsContratante packet
  double vrTotalOrca = 0;  // nedVrTotalOrca
  std::string modo;        // "N" to price a rescission, "S" for the recorded values
};
// The values of every party, handed whole to the contractor values dialog.
Variant ConfValTodosCont(TNetConnection& net, const ConfValTodosContArgs& args);

struct DistratoTotalArgs {
  std::string filial;
  std::string orcamento;
  std::string operador;
  std::string empresa;
  Variant contratantes;  // the whole cdsContratante packet
  Variant valores;       // the contractor values dialog's element 1
};
// The server's payload: empty text when the child budgets were generated.
Variant DistratoTotal(TNetConnection& net, const DistratoTotalArgs& args);

// True when the rescission's child budget is not approved. `cliente` empty
// asks about the budget's total rescission.
bool VdOrcaAprovado(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                    const std::string& seq, const std::string& cliente);

struct ConsolidaDistratoArgs {
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string NRENDCLIORCEVE;
  Variant formaPgto;         // values dialog element 1
  double vrNegociado = 0;    // values dialog element 2
  std::string operador;
  std::string contaCorrente; // medCdReduCont
  std::string CDCLIENTE;
  double valorPago = 0;      // ConfirmaValores element 1, sent by reference
  std::string GERACTPAGAR;
  std::string CDCLICONTSUBORE;
};
void ConsolidaDistrato(TNetConnection& net, const ConsolidaDistratoArgs& args);

void ConsolidaDistratoTotal(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                            const std::string& operador, const std::string& contaCorrente,
                            const Variant& contratantes);

}  // namespace contracts
