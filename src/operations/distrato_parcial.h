#pragma once
// The partial rescission of the current contracting party: the quota check,
// the values priced by the server and confirmed in "Confirmar Valores", the
// rescission with its child budgets, and the list reloaded on the party.

class TfrmDistrato;

namespace operations {

void DistratoParcial(TfrmDistrato& screen);

}  // namespace operations
