#pragma once
// "Distrato Comercial" (sbtDistrato, mnuDistrato): the partial rescission
// when "Parcial" is checked, the total one otherwise.

#include <functional>

class TfrmDistrato;

namespace operations {

void sbtDistratoClick(TfrmDistrato& screen);

// Where the total rescission attaches; until it does, the command does
// nothing under "Total".
std::function<void(TfrmDistrato&)>& DistratoTotalHook();

}  // namespace operations
