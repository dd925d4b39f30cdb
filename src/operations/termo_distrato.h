#pragma once
// "Termo de Distrato" of the main screen: the current party's rescission
// statement, or for a total rescission every party's in one document, read
// from the server and shown in the print preview.

class TfrmDistrato;

namespace operations {

void mnuTermoDistratoClick(TfrmDistrato& screen);

}  // namespace operations
