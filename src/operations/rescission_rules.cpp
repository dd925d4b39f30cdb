#include "operations/rescission_rules.h"

namespace operations {

double SignedAmount(const std::string& accountKind, double amount) {
  const bool receivable = accountKind == "CNTRECEBER" || accountKind == "Conta a Receber";
  return receivable ? amount : -amount;
}

}  // namespace operations
