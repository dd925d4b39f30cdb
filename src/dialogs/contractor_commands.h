#pragma once
// Which commands of the contractor values dialog are available, from where
// the focus is and the state of the parties and of the current party's plan.

namespace dialogs {

struct ContractorCommandInputs {
  bool editaTela = false;         // rescission step
  bool focusOnParties = false;    // dbgContratantes has the focus
  bool focusOnPlan = false;       // dbgFormaPgto has the focus
  bool valueColumnSelected = false;  // the parties grid's selected column is VRORIGREC
  bool variableMode = false;      // rbtFormaPgto checked
  bool partyEditing = false;      // P: parties in edit or insert
  bool partyInEdit = false;       // parties in edit (insert does not count)
  bool planEditing = false;       // F: plan in edit or insert
  bool planEmpty = false;         // E
  bool valueToPay = false;        // V: the party's VRORIGREC > 0
  bool quantityTyped = false;
  bool termTyped = false;
};

struct ContractorCommands {
  bool paymentEnabled = false;  // panFormaPgto and dbgFormaPgto
  bool partiesEditing = false;  // the parties grid allows editing
  bool incluir = false, alterar = false, excluir = false;
  bool verificar = false, procurar = false;
  bool confirmar = false, cancelar = false;
  bool parcAuto = false;
  friend bool operator==(const ContractorCommands&, const ContractorCommands&) = default;
};

ContractorCommands ContractorCommandState(const ContractorCommandInputs& in);

}  // namespace dialogs
