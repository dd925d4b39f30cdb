#pragma once
// Unit Cli_DXR10903: "Confirmar Valor Contratante", the dialog that reviews
// the values and payment plans of every party of a total rescission and
// stores them on the application server. Inputs and results are the unit's
// globals, kept in a namespace named after the unit (Cli_DXR10901 has a
// `boEditaTela` too). The creator is exported with C linkage.

#include "data/variant.h"

class TfrmDistrato;
class TfrmConfVrContrat;

namespace Cli_DXR10903 {
extern TfrmConfVrContrat* frmConfVrContrat;  // the one instance while shown
extern Variant oleContratante;  // in: parties packet; out: final packet or Null
extern bool boEditaTela;        // true: rescission step; false: consolidation
extern bool boGeraConta;        // result: the user answered Yes on leaving
extern bool boGerar;            // set on leaving with Yes
}  // namespace Cli_DXR10903

// Exported by name for the package's callers, which are C++: Clang's
// warning that a C caller could not take the Variant does not apply.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
extern "C" {
// Shows the dialog modally with the parties packet (the payload of
// ConfValTodosCont) and the step flag (true: rescission; false:
// consolidation). Returns [generate (boolean), parties packet or Null].
// Remote calls go through the main screen's netDistrato with its branch
// and budget texts.
Variant CriaConfVrContrat(TfrmDistrato& owner, const Variant& contratantes, bool editaTela);
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
