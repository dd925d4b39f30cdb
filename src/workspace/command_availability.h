#pragma once
// Which commands of the main screen the user may run (HabilitaBotoes), as a
// decision over plain values. The form reads its controls and the current
// party into these structs, runs the decision and writes the state back.

#include <array>
#include <functional>
#include <string>

#include "protocol/eligibility.h"
#include "workspace/rescission_type.h"

namespace workspace {

// The list and the current party as the decision reads them. Texts are empty
// when cdsContratante is closed or empty.
struct CommandInputs {
  bool listEmpty = true;     // cdsContratante empty or closed
  bool listEditing = false;  // cdsContratante in edit or insert state
  std::string IDSITUCONTOREV;
  std::string IDCONTPROCESDIST;
  std::string NRINSJURCLIESUB;
  std::string CDCLICONTSUBORE;
  std::string IDSITUORCEVE;
  // IDBAIXAREALIZADA of the current row of cdsContas is "S" (false with no
  // receivables).
  bool currentReceivableSettled = false;
  std::string IDUTILCUSTOFIXOORCA;  // of cdsDadosComp
};

// The enabled state of every governed control. sbtConfirmar and sbtCancelar
// belong to the base form (it sets them while the list is edited); they are
// read here and mirrored into their menu entries. `tipo` is the checked radio
// of grbTipoDistrato.
struct CommandState {
  bool sbtIncluir = false;
  bool sbtAlterar = false;
  bool sbtExcluir = false;
  bool sbtProcurar = false;
  bool sbtVerificar = false;
  bool sbtCancContrat = false;
  bool sbtDistrato = false;
  bool sbtConsolidaDistrato = false;
  bool sbtCancelaDistrato = false;
  bool sbtConfirmar = false;
  bool sbtCancelar = false;

  bool mnuIncluir = false;
  bool mnuAlterar = false;
  bool mnuExcluir = false;
  bool mnuProcurar = false;
  bool mnuVerificar = false;
  bool mnuCancContrat = false;
  bool mnuDistrato = false;
  bool mnuConsolidaDistrato = false;
  bool mnuCancelaDistrato = false;
  bool mnuConfirmar = false;
  bool mnuCancelar = false;

  bool rbtParcialEnabled = true;
  RescissionType tipo = RescissionType::Parcial;

  friend bool operator==(const CommandState&, const CommandState&) = default;
};

// Elements 0 to 4 of GetExisContOrca's answer, read as booleans.
using ExistingContractFlags = std::array<bool, 5>;

// The two questions put to the application server. A failure is an exception
// from the callable; it ends the decision where it stands.
struct CommandQuestions {
  std::function<ExistingContractFlags()> GetExisContOrca;  // asked on every run
  std::function<bool()> NovoContratante;                   // asked only when needed
};

struct CommandRunReport {
  bool budgetLocked = false;       // IDSITUORCEVE stopped the run early
  bool typeForcedToTotal = false;  // the fixed-cost rule checked rbtTotal
};

// The budget situation that leaves the commands open: empty or "3".
using eligibility::BudgetLocked;

// Whether a run must ask NovoContratante, given GetExisContOrca's answer.
bool AsksNovoContratante(const CommandInputs& in, const ExistingContractFlags& flags);

// Runs the decision over `state` in place, step by step, so that a failing
// question leaves the commands already decided in their new state and the
// rest as they were. When the fixed-cost rule forces the type to total, the
// decision runs once more, nested, for total rescission (as the click of
// rbtTotal would) before this run finishes; the form must therefore check
// rbtTotal without running its click handler again.
CommandRunReport HabilitaBotoes(const CommandInputs& in, const CommandQuestions& ask,
                                CommandState& state);

}  // namespace workspace
