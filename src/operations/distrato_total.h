#pragma once
// The total rescission of the budget: every party priced by the server,
// reviewed in "Confirmar Valor Contratante", then recorded with the child
// budgets; the list is reloaded whatever the user answered.

class TfrmDistrato;

namespace operations {

void DistratoTotal(TfrmDistrato& screen);

}  // namespace operations
