#pragma once
// The substitution of a contracting party ("Troca de Titularidade") on the
// main screen: starting it (sbtCancContratClick), the substitute typed or
// searched in the list (Vd_NrInscricao, dbgPadraoEditButtonClick), its
// confirmation (sbtConfirmarClick) and the execution on the server
// (TransfContratante). Runs on the user-interface thread only.

class TfrmDistrato;

namespace operations {

void sbtCancContratClick(TfrmDistrato& f);
void sbtConfirmarClick(TfrmDistrato& f);
void Vd_NrInscricao(TfrmDistrato& f, bool required);
void dbgPadraoEditButtonClick(TfrmDistrato& f);
void TransfContratante(TfrmDistrato& f);

// Wires the list's search button and the confirm button of a new screen.
void AttachSubstitution(TfrmDistrato& f);

}  // namespace operations
