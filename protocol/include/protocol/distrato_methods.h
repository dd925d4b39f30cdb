#pragma once
// The remote methods of the application server "DXR10900.RDMDISTRATO": one
// declaration per method, its arguments in wire order, named as the module
// fills them. The client's wrappers (src/contracts) and the server's handlers
// (appserver/methods) are both made from these; see method_declaration.h.
//
// Codes travel as text as typed or as stored; the server brings them to their
// key width. A sequence argument "seq" or "" means the budget's first
// sequence (or, for a party, the sequence that holds it).

#include <string>

#include "data/variant.h"
#include "protocol/method_declaration.h"

namespace protocol {

// --- the session ----------------------------------------------------------------

// Logs the connection in as an operator; the only method a connection may
// call before it. Answers [operator code, name, role]. The password is
// checked in any letter case. The operator is named `codigo`, not
// `operador`: before login there is no session operator to compare it with.
struct Login {
  static constexpr std::string_view kName = "Login";
  std::string codigo;
  std::string senha;
  static constexpr auto Arguments() { return std::tuple{Arg{"codigo", &Login::codigo}, Arg{"senha", &Login::senha}}; }
};

// --- the filter's look-ups --------------------------------------------------

// Budgets of a branch.
struct GetPesqOrca {
  static constexpr std::string_view kName = "GetPesqOrca";
  std::string filial;
  static constexpr auto Arguments() { return std::tuple{Arg{"filial", &GetPesqOrca::filial}}; }
};

// The sequences of one budget; empty when it is not registered.
struct GetVdOrca {
  static constexpr std::string_view kName = "GetVdOrca";
  std::string filial;
  std::string orcamento;
  static constexpr auto Arguments() {
    return std::tuple{Arg{"filial", &GetVdOrca::filial}, Arg{"orcamento", &GetVdOrca::orcamento}};
  }
};

// The company related to branch and budget.
struct GetEmpresaRelac {
  static constexpr std::string_view kName = "GetEmpresaRelac";
  std::string filial;
  std::string orcamento;
  std::string sequencial;
  static constexpr auto Arguments() {
    using M = GetEmpresaRelac;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"sequencial", &M::sequencial}};
  }
};

// [complementary data of the sequence, the budget's grand total as text].
struct DadosComp {
  static constexpr std::string_view kName = "DadosComp";
  std::string filial;
  std::string orcamento;
  std::string sequencial;
  static constexpr auto Arguments() {
    using M = DadosComp;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"sequencial", &M::sequencial}};
  }
};

// Bank accounts of a company: mode "VD" checks one code, "" lists them.
struct GetContCorr {
  static constexpr std::string_view kName = "GetContCorr";
  std::string empresa;
  std::string codigo;
  std::string modo;
  static constexpr auto Arguments() {
    using M = GetContCorr;
    return std::tuple{Arg{"empresa", &M::empresa}, Arg{"codigo", &M::codigo}, Arg{"modo", &M::modo}};
  }
};

// --- the list of parties, their accounts and the command questions ----------

// Contracting parties of a budget, every sequence included.
struct GetContratante {
  static constexpr std::string_view kName = "GetContratante";
  std::string filial;
  std::string orcamento;
  static constexpr auto Arguments() {
    return std::tuple{Arg{"filial", &GetContratante::filial}, Arg{"orcamento", &GetContratante::orcamento}};
  }
};

// [receivables, count of settled receivables, payables] of one party. The
// first five name the party's accounts; the last four, the party's codes,
// choose which of them belong on the screen.
struct GetContas {
  static constexpr std::string_view kName = "GetContas";
  std::string empresa;  // the budget's company, not the branch
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string CDCLIENTE;
  std::string NRENDCLIORCEVE;
  std::string IDCONTPROCESDIST;
  std::string IDORIGEMINCLUSAO;
  std::string IDTRANSFCOTAREALI;
  std::string IDTPDISTRATOREALI;
  static constexpr auto Arguments() {
    using M = GetContas;
    return std::tuple{Arg{"empresa", &M::empresa},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE},
                      Arg{"IDCONTPROCESDIST", &M::IDCONTPROCESDIST},
                      Arg{"IDORIGEMINCLUSAO", &M::IDORIGEMINCLUSAO},
                      Arg{"IDTRANSFCOTAREALI", &M::IDTRANSFCOTAREALI},
                      Arg{"IDTPDISTRATOREALI", &M::IDTPDISTRATOREALI}};
  }
};

// Five flags about the party and its budget (appserver/methods/commands.cpp).
struct GetExisContOrca {
  static constexpr std::string_view kName = "GetExisContOrca";
  std::string filial;
  std::string orcamento;
  std::string sequencial;
  std::string inscricaoSubstituto;  // the substitute's registration number as typed, or ""
  std::string cliente;
  static constexpr auto Arguments() {
    using M = GetExisContOrca;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"sequencial", &M::sequencial},
                      Arg{"inscricaoSubstituto", &M::inscricaoSubstituto}, Arg{"cliente", &M::cliente}};
  }
};

// Whether the party came into the budget by a substitution.
struct NovoContratante {
  static constexpr std::string_view kName = "NovoContratante";
  std::string filial;
  std::string orcamento;
  std::string sequencial;
  std::string cliente;
  static constexpr auto Arguments() {
    using M = NovoContratante;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"sequencial", &M::sequencial},
                      Arg{"cliente", &M::cliente}};
  }
};

// --- the contractor values dialog --------------------------------------------

// Starts or resumes the review of a budget's parties; the server's version of
// the parties comes back in `contratantes` and as the result.
struct InsContratDistrato {
  static constexpr std::string_view kName = "InsContratDistrato";
  Variant contratantes;  // packet
  std::string filial;
  std::string orcamento;
  static constexpr auto Arguments() {
    using M = InsContratDistrato;
    return std::tuple{Arg{"contratantes", &M::contratantes, Passing::ByRef}, Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento}};
  }
};

// The parties under review.
struct GetContratDistrato {
  static constexpr std::string_view kName = "GetContratDistrato";
  std::string filial;
  std::string orcamento;
  static constexpr auto Arguments() {
    return std::tuple{Arg{"filial", &GetContratDistrato::filial}, Arg{"orcamento", &GetContratDistrato::orcamento}};
  }
};

// The installment plan of one party under review.
struct GetFormaPgto {
  static constexpr std::string_view kName = "GetFormaPgto";
  std::string filial;
  std::string orcamento;
  std::string cliente;
  // The contract's sequence and address: a client may hold several contracts
  // in one budget. Callers that send only the client still name a client
  // with one contract in the review.
  std::string sequencia;
  std::string endereco;
  static constexpr std::size_t kRequiredArguments = 3;
  static constexpr auto Arguments() {
    using M = GetFormaPgto;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"cliente", &M::cliente},
                      Arg{"sequencia", &M::sequencia}, Arg{"endereco", &M::endereco}};
  }
};

// Drops one party's installment plan; answers the plan left (empty).
struct DeletaFormaPgto {
  static constexpr std::string_view kName = "DeletaFormaPgto";
  std::string filial;
  std::string orcamento;
  std::string cliente;
  // The contract's sequence and address: a client may hold several contracts
  // in one budget. Callers that send only the client still name a client
  // with one contract in the review.
  std::string sequencia;
  std::string endereco;
  static constexpr std::size_t kRequiredArguments = 3;
  static constexpr auto Arguments() {
    using M = DeletaFormaPgto;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"cliente", &M::cliente},
                      Arg{"sequencia", &M::sequencia}, Arg{"endereco", &M::endereco}};
  }
};

// Stores the confirmed parties and their plan; answers the stored parties.
struct SetConfirmar {
  static constexpr std::string_view kName = "SetConfirmar";
  Variant contratantes;  // packet
  Variant parcelas;      // packet
  std::string filial;
  std::string orcamento;
  static constexpr auto Arguments() {
    using M = SetConfirmar;
    return std::tuple{Arg{"contratantes", &M::contratantes}, Arg{"parcelas", &M::parcelas}, Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento}};
  }
};

// --- the substitution of a contracting party ----------------------------------

// The client's contracts in the budget beyond its first (empty when it holds
// only one): a quota holder with another contract must name a substitute.
struct GetRepetContrat {
  static constexpr std::string_view kName = "GetRepetContrat";
  std::string filial;
  std::string orcamento;
  std::string cliente;
  static constexpr auto Arguments() {
    using M = GetRepetContrat;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"cliente", &M::cliente}};
  }
};

// The registered clients that may substitute the party: neither the party nor
// anyone already a party of the budget.
struct GetContSub {
  static constexpr std::string_view kName = "GetContSub";
  std::string filial;
  std::string orcamento;
  std::string sequencial;
  std::string cliente;
  static constexpr auto Arguments() {
    using M = GetContSub;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"sequencial", &M::sequencial},
                      Arg{"cliente", &M::cliente}};
  }
};

// The client registered with a CPF/CNPJ (of that person type, when given).
struct GetVdClie {
  static constexpr std::string_view kName = "GetVdClie";
  std::string inscricao;
  std::string tipoPessoa;  // "F", "J", or "" for either
  static constexpr auto Arguments() {
    using M = GetVdClie;
    return std::tuple{Arg{"inscricao", &M::inscricao}, Arg{"tipoPessoa", &M::tipoPessoa}};
  }
};

// Hands the party's place in the budget to the substitute; answers "".
struct SubstituirContratante {
  static constexpr std::string_view kName = "SubstituirContratante";
  std::string filial;
  std::string orcamento;
  std::string contaCorrente;
  std::string CDCLIENTE;
  std::string NRENDCLIORCEVE;
  std::string CDCLICONTSUBORE;
  std::string operador;
  std::string NRSEQORCAEVE;
  std::string empresa;
  static constexpr auto Arguments() {
    using M = SubstituirContratante;
    return std::tuple{Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"contaCorrente", &M::contaCorrente},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE},
                      Arg{"CDCLICONTSUBORE", &M::CDCLICONTSUBORE},
                      Arg{"operador", &M::operador},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"empresa", &M::empresa}};
  }
};

// Transfers the quota holder's quotas, guests and open value to the
// substitute; answers "".
struct TransfCotas {
  static constexpr std::string_view kName = "TransfCotas";
  std::string filial;
  std::string orcamento;
  std::string CDCLIENTE;
  std::string CDCLICONTSUBORE;
  std::string operador;
  std::string IDUTILCUSTOFIXOORCA;
  double vrTransferido = 0;
  Variant qtConvidados;  // numbers as the dialog returned them
  Variant qtCotas;
  std::string NRSEQORCAEVE;
  std::string NRENDCLIORCEVE;
  std::string contaCorrente;
  std::string empresa;
  static constexpr auto Arguments() {
    using M = TransfCotas;
    return std::tuple{Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"CDCLICONTSUBORE", &M::CDCLICONTSUBORE},
                      Arg{"operador", &M::operador},
                      Arg{"IDUTILCUSTOFIXOORCA", &M::IDUTILCUSTOFIXOORCA},
                      Arg{"vrTransferido", &M::vrTransferido},
                      Arg{"qtConvidados", &M::qtConvidados},
                      Arg{"qtCotas", &M::qtCotas},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE},
                      Arg{"contaCorrente", &M::contaCorrente},
                      Arg{"empresa", &M::empresa}};
  }
};

// --- the partial rescission ----------------------------------------------------

// Whether the client is a party of more than one sequence of the budget.
struct GetContratRepetSeq {
  static constexpr std::string_view kName = "GetContratRepetSeq";
  std::string filial;
  std::string orcamento;
  std::string cliente;
  static constexpr auto Arguments() {
    using M = GetContratRepetSeq;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"cliente", &M::cliente}};
  }
};

// [values row, what the party has paid, calculated value] of one party's
// rescission: mode "N" prices it now, "S" answers the recorded values.
struct ConfirmaValores {
  static constexpr std::string_view kName = "ConfirmaValores";
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;  // the party's sequence, or "seq"
  std::string NRENDCLIORCEVE;
  std::string empresa;       // the budget's company
  double vrTotalOrca = 0;    // the budget's grand total
  std::string CDCLIENTE;
  std::string CDCLICONTSUBORE;
  std::string modo;
  static constexpr auto Arguments() {
    using M = ConfirmaValores;
    return std::tuple{Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE},
                      Arg{"empresa", &M::empresa},
                      Arg{"vrTotalOrca", &M::vrTotalOrca},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"CDCLICONTSUBORE", &M::CDCLICONTSUBORE},
                      Arg{"modo", &M::modo}};
  }
};

// Records a party's rescission and the child budget that carries it; answers
// "" on success. The three amounts travel as any value: the server refuses one
// that is not a number by name.
struct Distrato {
  static constexpr std::string_view kName = "Distrato";
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string NRENDCLIORCEVE;
  std::string operador;
  std::string CDCLIENTE;
  Variant vrMulta;
  std::string CDCLICONTSUBORE;
  Variant vrNegociado;
  Variant valorSinalizado;  // positive: a receivable; negative: a payable
  static constexpr auto Arguments() {
    using M = Distrato;
    return std::tuple{Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE},
                      Arg{"operador", &M::operador},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"vrMulta", &M::vrMulta},
                      Arg{"CDCLICONTSUBORE", &M::CDCLICONTSUBORE},
                      Arg{"vrNegociado", &M::vrNegociado},
                      Arg{"valorSinalizado", &M::valorSinalizado}};
  }
};

// The values of every party of the budget, for the contractor values dialog:
// priced for a total rescission ("N") or as recorded ("S").
struct ConfValTodosCont {
  static constexpr std::string_view kName = "ConfValTodosCont";
  std::string filial;
  std::string orcamento;
  std::string operador;
  std::string empresa;     // stCdEmpresa
  Variant contratantes;    // the whole cdsContratante packet
  double vrTotalOrca = 0;  // nedVrTotalOrca
  std::string modo;        // "N" or "S"
  static constexpr auto Arguments() {
    using M = ConfValTodosCont;
    return std::tuple{Arg{"filial", &M::filial},           Arg{"orcamento", &M::orcamento},
                      Arg{"operador", &M::operador},       Arg{"empresa", &M::empresa},
                      Arg{"contratantes", &M::contratantes}, Arg{"vrTotalOrca", &M::vrTotalOrca},
                      Arg{"modo", &M::modo}};
  }
};

// The rescission of every party of the budget with its child budget.
struct DistratoTotal {
  static constexpr std::string_view kName = "DistratoTotal";
  std::string filial;
  std::string orcamento;
  std::string operador;
  std::string empresa;
  Variant contratantes;  // the whole cdsContratante packet
  Variant valores;       // the contractor values dialog's parties packet
  static constexpr auto Arguments() {
    using M = DistratoTotal;
    return std::tuple{Arg{"filial", &M::filial},     Arg{"orcamento", &M::orcamento},
                      Arg{"operador", &M::operador}, Arg{"empresa", &M::empresa},
                      Arg{"contratantes", &M::contratantes}, Arg{"valores", &M::valores}};
  }
};

// Whether the child budget of a rescission is still unapproved: the party's
// (CDCLIENTE given) or the budget's total one (CDCLIENTE empty).
struct VdOrcaAprovado {
  static constexpr std::string_view kName = "VdOrcaAprovado";
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string CDCLIENTE;
  static constexpr auto Arguments() {
    using M = VdOrcaAprovado;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE}, Arg{"CDCLIENTE", &M::CDCLIENTE}};
  }
};

// The account of one party's partial rescission.
struct ConsolidaDistrato {
  static constexpr std::string_view kName = "ConsolidaDistrato";
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string NRENDCLIORCEVE;
  Variant formaPgto;     // the values dialog's payment form packet, or null
  Variant vrNegociado;   // the values dialog's negotiated value
  std::string operador;
  std::string contaCorrente;  // medCdReduCont
  std::string CDCLIENTE;
  Variant valorPago;     // ConfirmaValores element 1, by reference
  std::string GERACTPAGAR;
  std::string CDCLICONTSUBORE;
  static constexpr auto Arguments() {
    using M = ConsolidaDistrato;
    return std::tuple{Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE},
                      Arg{"formaPgto", &M::formaPgto},
                      Arg{"vrNegociado", &M::vrNegociado},
                      Arg{"operador", &M::operador},
                      Arg{"contaCorrente", &M::contaCorrente},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"valorPago", &M::valorPago, Passing::ByRef},
                      Arg{"GERACTPAGAR", &M::GERACTPAGAR},
                      Arg{"CDCLICONTSUBORE", &M::CDCLICONTSUBORE}};
  }
};

// The accounts of every party of the budget's total rescission.
struct ConsolidaDistratoTotal {
  static constexpr std::string_view kName = "ConsolidaDistratoTotal";
  std::string filial;
  std::string orcamento;
  std::string operador;
  std::string contaCorrente;  // medCdReduCont
  Variant contratantes;       // the contractor values dialog's parties packet
  static constexpr auto Arguments() {
    using M = ConsolidaDistratoTotal;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"operador", &M::operador},
                      Arg{"contaCorrente", &M::contaCorrente}, Arg{"contratantes", &M::contratantes}};
  }
};

// --- undoing a rescission and the operator's confirmation ---------------------

// Operators who may approve an undo (supervisors and managers): one by code,
// or every one with "T". CDSENHOPER only tells whether the operator has a
// password ("S" or ""); the stored value never leaves the server.
struct GetOperador {
  static constexpr std::string_view kName = "GetOperador";
  // Not named `operador`: the code looked up is not the caller's.
  std::string codigo;  // a code, or "T"
  static constexpr auto Arguments() { return std::tuple{Arg{"codigo", &GetOperador::codigo}}; }
};

// Checks a supervisor's or manager's password on the server; true approves
// one undo on this connection for the next 5 minutes. Too many failures lock
// the operator out for a while (refused with a message).
struct ConfirmaSenhaOperador {
  static constexpr std::string_view kName = "ConfirmaSenhaOperador";
  std::string codigo;  // the approver, usually not the operator logged in
  std::string senha;   // as typed, upper-cased by the dialog
  static constexpr auto Arguments() {
    using M = ConfirmaSenhaOperador;
    return std::tuple{Arg{"codigo", &M::codigo}, Arg{"senha", &M::senha}};
  }
};

// False when a commission was already generated for the seller or superiors
// of the budget (the party's sequences, or every sequence for "TOTAL").
struct Vd_ExistComisGerada {
  static constexpr std::string_view kName = "Vd_ExistComisGerada";
  std::string filial;
  std::string orcamento;
  std::string CDCLIENTE;
  std::string tipo;  // "PARCIAL" or "TOTAL"; by reference, left as sent
  static constexpr auto Arguments() {
    using M = Vd_ExistComisGerada;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento}, Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"tipo", &M::tipo, Passing::ByRef}};
  }
};

// Undoes one party's rescission ("CONTRATANTE") or the budget's total one
// ("GERAL"); needs an approval confirmed on the same connection. Answers "".
struct DesfazerDistrato {
  static constexpr std::string_view kName = "DesfazerDistrato";
  std::string tipo;          // "CONTRATANTE" or "GERAL"
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;  // the party's sequence, or "seq"
  std::string empresa;       // stCdEmpresa
  std::string CDCLIENTE;     // "" for GERAL
  Variant contratantes;      // "" for CONTRATANTE, the whole cdsContratante packet for GERAL
  std::string operador;
  DateTime dataProcessamento;
  std::string NRENDCLIORCEVE;  // "" for GERAL
  static constexpr auto Arguments() {
    using M = DesfazerDistrato;
    return std::tuple{Arg{"tipo", &M::tipo},
                      Arg{"filial", &M::filial},
                      Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE},
                      Arg{"empresa", &M::empresa},
                      Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"contratantes", &M::contratantes},
                      Arg{"operador", &M::operador},
                      Arg{"dataProcessamento", &M::dataProcessamento},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE}};
  }
};

// --- the rescission statement ------------------------------------------------

// The statement of one party's rescission, from what the server recorded:
// [statement row, installments the rescission cancelled, accounts the
// consolidation generated, the party's history]. Refused for a party with no
// rescission, started, consolidated or undone.
struct GetTermoDistrato {
  static constexpr std::string_view kName = "GetTermoDistrato";
  std::string filial;
  std::string orcamento;
  std::string NRSEQORCAEVE;
  std::string CDCLIENTE;
  std::string NRENDCLIORCEVE;
  static constexpr auto Arguments() {
    using M = GetTermoDistrato;
    return std::tuple{Arg{"filial", &M::filial}, Arg{"orcamento", &M::orcamento},
                      Arg{"NRSEQORCAEVE", &M::NRSEQORCAEVE}, Arg{"CDCLIENTE", &M::CDCLIENTE},
                      Arg{"NRENDCLIORCEVE", &M::NRENDCLIORCEVE}};
  }
};

// The parties of a budget whose partial rescission was undone and that are
// in no rescission now (NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE): they still
// have a statement to print.
struct GetDistratosDesfeitos {
  static constexpr std::string_view kName = "GetDistratosDesfeitos";
  std::string filial;
  std::string orcamento;
  static constexpr auto Arguments() {
    return std::tuple{Arg{"filial", &GetDistratosDesfeitos::filial},
                      Arg{"orcamento", &GetDistratosDesfeitos::orcamento}};
  }
};

// Every method the server answers; the server registers each and a test
// walks the list.
using DistratoMethods =
    MethodList<Login, GetPesqOrca, GetVdOrca, GetEmpresaRelac, DadosComp, GetContCorr, GetContratante, GetContas,
               GetExisContOrca, NovoContratante, InsContratDistrato, GetContratDistrato, GetFormaPgto, DeletaFormaPgto,
               SetConfirmar, GetContratRepetSeq, ConfirmaValores, Distrato, ConfValTodosCont, DistratoTotal,
               VdOrcaAprovado, ConsolidaDistrato, ConsolidaDistratoTotal,
               GetRepetContrat, GetContSub, GetVdClie, SubstituirContratante, TransfCotas,
               GetOperador, ConfirmaSenhaOperador, Vd_ExistComisGerada, DesfazerDistrato,
               GetTermoDistrato, GetDistratosDesfeitos>;

}  // namespace protocol
