#include "workspace/command_availability.h"

namespace workspace {

namespace {

// The party's conditions that the steps below share.
struct PartyConditions {
  bool listReady;
  bool notEditing;
  bool hasSubstitute;      // a substitute typed or recorded in NRINSJURCLIESUB
  bool substituteCode;     // CDCLICONTSUBORE recorded
  bool settled;            // the current receivable is settled
  const std::string& sit;
  const std::string& proc;
};

PartyConditions ConditionsOf(const CommandInputs& in) {
  return PartyConditions{
      .listReady = !in.listEditing && !in.listEmpty,
      .notEditing = !in.listEditing,
      .hasSubstitute = !in.NRINSJURCLIESUB.empty(),
      .substituteCode = !in.CDCLICONTSUBORE.empty(),
      .settled = in.currentReceivableSettled,
      .sit = in.IDSITUCONTOREV,
      .proc = in.IDCONTPROCESDIST,
  };
}

// A budget sequence in another situation allows only reload and search.
void LockForBudgetSituation(CommandState& s) {
  s.sbtIncluir = s.sbtAlterar = s.sbtExcluir = false;
  s.sbtDistrato = s.sbtCancContrat = false;
  s.sbtConsolidaDistrato = s.sbtCancelaDistrato = false;
  s.sbtVerificar = s.sbtProcurar = true;
  s.mnuIncluir = s.mnuAlterar = s.mnuExcluir = false;
  s.mnuDistrato = s.mnuCancContrat = false;
  s.mnuConsolidaDistrato = s.mnuCancelaDistrato = false;
  s.mnuProcurar = s.mnuVerificar = true;
}

struct Blocks {
  bool newOk = false;
  bool block1 = true;
  bool block2 = true;
};

Blocks ComputeBlocks(const PartyConditions& p, const ExistingContractFlags& f,
                     const CommandQuestions& ask) {
  Blocks b;
  if (p.hasSubstitute) return b;  // both blocks hold; NEWOK is not needed
  b.newOk = f[0] ? !ask.NovoContratante() : true;
  b.block1 = !f[1] && p.settled;
  b.block2 = !f[2] && p.settled;
  return b;
}

void MirrorMenus(CommandState& s) {
  s.mnuIncluir = s.sbtIncluir;
  s.mnuAlterar = s.sbtAlterar;
  s.mnuExcluir = s.sbtExcluir;
  s.mnuProcurar = s.sbtProcurar;
  s.mnuVerificar = s.sbtVerificar;
  s.mnuCancContrat = s.sbtCancContrat;
  s.mnuDistrato = s.sbtDistrato;
  s.mnuConfirmar = s.sbtConfirmar;
  s.mnuCancelar = s.sbtCancelar;
}

void Run(const CommandInputs& in, const CommandQuestions& ask, CommandState& s,
         CommandRunReport& report) {
  const ExistingContractFlags f = ask.GetExisContOrca();

  if (BudgetLocked(in.IDSITUORCEVE)) {
    LockForBudgetSituation(s);
    report.budgetLocked = true;
    return;
  }

  const PartyConditions p = ConditionsOf(in);

  s.sbtIncluir = s.sbtAlterar = s.sbtExcluir = false;  // never offered on this screen
  s.sbtProcurar = p.listReady;
  s.sbtVerificar = p.listReady;

  const Blocks b = ComputeBlocks(p, f, ask);
  const bool partial = s.tipo == RescissionType::Parcial;
  const bool contractGenerated = p.sit == "CNTGERADA";

  if (partial) {
    const bool confirming = s.sbtConfirmar;
    s.sbtDistrato = !p.hasSubstitute && p.listReady && b.newOk && !p.settled && !confirming &&
                    contractGenerated && f[4];
  }

  if (s.tipo == RescissionType::Total) {
    s.sbtCancContrat = false;
    s.sbtDistrato = p.proc == "N";
  } else {
    s.sbtCancContrat = (s.sbtDistrato == f[4]) && f[3] && contractGenerated && p.notEditing;
  }

  s.sbtConsolidaDistrato = !b.block1 && !b.block2 && p.sit == "CANCELADO" && p.proc == "S";
  s.sbtCancelaDistrato =
      !s.sbtConsolidaDistrato && p.sit == "CANCELADO" && !p.substituteCode && p.proc == "C";

  if (p.proc == "S") {
    s.sbtIncluir = s.sbtAlterar = s.sbtExcluir = false;
    s.sbtProcurar = s.sbtCancContrat = s.sbtDistrato = false;
  }

  MirrorMenus(s);

  // A budget without fixed cost can only be rescinded as a whole. Checking
  // rbtTotal runs its click, which decides everything again for total.
  if (eligibility::OnlyTotalRescission(in.IDUTILCUSTOFIXOORCA)) {
    s.rbtParcialEnabled = false;
    if (s.tipo != RescissionType::Total) {
      s.tipo = RescissionType::Total;
      report.typeForcedToTotal = true;
      CommandRunReport nested;
      Run(in, ask, s, nested);
    }
  } else {
    s.rbtParcialEnabled = true;
  }

  s.mnuConsolidaDistrato = s.sbtConsolidaDistrato;
  s.mnuCancelaDistrato = s.sbtCancelaDistrato;
}

}  // namespace

bool AsksNovoContratante(const CommandInputs& in, const ExistingContractFlags& flags) {
  return !BudgetLocked(in.IDSITUORCEVE) && in.NRINSJURCLIESUB.empty() && flags[0];
}

CommandRunReport HabilitaBotoes(const CommandInputs& in, const CommandQuestions& ask,
                                CommandState& state) {
  CommandRunReport report;
  Run(in, ask, state, report);
  return report;
}

}  // namespace workspace
