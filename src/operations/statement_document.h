#pragma once
// The rescission statement ("Termo de Distrato") as a document to print:
// laid out from what the server recorded for each party, one party after
// another, each on its own pages. A plain function of the server's packets.

#include <vector>

#include "contracts/statement_methods.h"
#include "ui/document.h"

namespace operations {

// The document's title, also the preview's and the PDF's.
inline constexpr const char* kStatementTitle = "Termo de Distrato";

// One statement per party, in the order given; none is refused here.
Document StatementDocument(const std::vector<contracts::TermoDistrato>& parties);

// The texts the statement writes for the server's codes.
const char* RescissionStateText(const std::string& IDESTADODISTRATO);  // "S", "C", "D"
const char* HistoryActionText(const std::string& NMMETODO);

}  // namespace operations
