#pragma once
// Small steps the operations share: reading the current party and showing
// the progress animation with a catalogue text.

#include <string>

#include "data/variant.h"

class TfrmDistrato;

namespace operations {

// The current party's field as text.
std::string Party(const TfrmDistrato& screen, const char* field);

// The progress animation over the main window with the text of `key`.
void ShowProgress(TfrmDistrato& screen, const char* key);

// Every party's rescission values from the server (`ConfValTodosCont`) for
// the whole list: mode "N" prices a total rescission, "S" reads one recorded.
Variant AllPartiesValues(TfrmDistrato& screen, const char* modo);

}  // namespace operations
