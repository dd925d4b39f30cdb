#include "dialogs/contractor_commands.h"

namespace dialogs {

ContractorCommands ContractorCommandState(const ContractorCommandInputs& in) {
  const bool P = in.partyEditing, F = in.planEditing, E = in.planEmpty, V = in.valueToPay;
  ContractorCommands c;
  c.paymentEnabled = !in.editaTela;
  c.partiesEditing = in.valueColumnSelected;
  c.incluir = in.focusOnPlan && in.variableMode && V && !P && !F;
  c.alterar = (in.valueColumnSelected && in.focusOnParties && !P) || (in.focusOnPlan && !E && !F);
  c.excluir = in.focusOnPlan && !E && !F && !P;
  c.verificar = !P && !F;
  c.procurar = false;
  c.confirmar = in.partyInEdit || F;
  c.cancelar = c.confirmar;
  c.parcAuto = in.variableMode && V && in.quantityTyped && in.termTyped;
  return c;
}

}  // namespace dialogs
