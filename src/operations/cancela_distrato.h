#pragma once
// "Cancela Distrato" (sbtCancelaDistrato, mnuCancelaDistrato): undoing a
// rescission once a supervisor or manager confirmed it with a password, for
// the current party when "Parcial" is checked, for every party of the
// budget's total rescission otherwise. The server keeps the approval the
// password gave the connection and refuses the undo without it.
// User-interface thread only.

#include <string>

class TfrmDistrato;

namespace operations {

void sbtCancelaDistratoClick(TfrmDistrato& screen);

// Stops the operation ("COMIS_GERADA_ORC_DISTRATO") when a commission was
// already generated for the budget's seller or superiors; `kind` is
// "PARCIAL" or "TOTAL".
void Vd_ExistComisGerada(TfrmDistrato& screen, const std::string& kind);

}  // namespace operations
