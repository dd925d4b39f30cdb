#pragma once
// The remote methods of the partial rescission, in the server's argument
// order. Each raises Exception on a refusal (the server's text, which may be
// an "N_PARAM_" key) and on a malformed answer.

#include <string>

#include "data/variant.h"

class TNetConnection;

namespace contracts {

// Whether the party is a party of another sequence of the budget.
bool GetContratRepetSeq(TNetConnection& net, const std::string& filial, const std::string& orcamento,
                        const std::string& cliente);

struct ConfirmaValoresArgs {
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;  // the party's sequence, or "seq"
  std::string NRENDCLIORCEVE;
  std::string empresa;       // stCdEmpresa
  double vrTotalOrca = 0;    // nedVrTotalOrca
  std::string CDCLIENTE;
  std::string CDCLICONTSUBORE;
  std::string modo;          // "N" to price a rescission, "S" for the recorded values
};
struct ValoresResult {
  Variant valores;      // element 0: the values row for cdsValores
  double elemento1 = 0; // element 1: what the party has paid
  double valor = 0;     // element 2: the calculated amount, unsigned
};
ValoresResult ConfirmaValores(TNetConnection& net, const ConfirmaValoresArgs& args);

struct DistratoArgs {
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string NRENDCLIORCEVE;
  std::string operador;
  std::string CDCLIENTE;
  double vrMulta = 0;       // dialog element 3
  std::string CDCLICONTSUBORE;
  double vrNegociado = 0;   // dialog element 2
  double valorSinalizado = 0;  // positive: receivable; negative: payable
};
// The server's payload: empty text when the child budgets were generated.
Variant Distrato(TNetConnection& net, const DistratoArgs& args);

}  // namespace contracts
