#pragma once
// Unit Cli_DXR10901: "Confirmar Valores", the dialog that confirms the values
// of one party's rescission and, in the consolidation step, the payment form
// of the account it generates. Inputs and results are the unit's globals;
// both value dialogs have a `boEditaTela`, so each unit keeps its globals in
// a namespace named after it. The creator is exported with C linkage.

#include "data/variant.h"

class TfrmDistrato;
class TfrmConfValores;

namespace Cli_DXR10901 {
extern TfrmConfValores* frmConfValores;  // the one instance while it is shown
extern double doVrCalculado;             // calculated value passed in
extern double doVrNeg;                   // negotiated value: in, replaced by OK
extern double doVrPerc;                  // fine percentage passed in
extern double doVrMulta;                 // fine value: in, replaced by OK
extern bool boEditaTela;                 // true: rescission step; false: consolidation
extern bool boConfirma;                  // the user confirmed with OK
extern Variant oleFormaPgto;             // payment form packet, or Null
extern bool boOk;                        // OK completed; never cleared by the module
}  // namespace Cli_DXR10901

// Exported by name for the package's callers, which are C++: Clang's
// warning that a C caller could not take the Variant does not apply.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
extern "C" {
// Shows the dialog modally over the main screen's current values row
// (cdsValores) and returns [confirmed, payment form packet or Null,
// negotiated value, fine value]. A cancelled dialog returns
// [false, Null, 0, 0]. The callers pass VRORIGRECNOEDIT, VRORIGREC,
// VRPERCMULTA and VRMULTA of that row, in that order.
Variant CriaConfValores(TfrmDistrato& owner, double vrCalculado, double vrNeg, double vrPerc,
                        double vrMulta, bool editaTela);
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
