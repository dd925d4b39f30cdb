#include "operations/rescission_rules.h"

namespace operations {

bool QuotasBlockPartialRescission(const std::string& IDCONTRESPCOTAORCA, const std::string& IDTRANSFCOTAREALI,
                                  bool repeatedInAnotherSequence) {
  return IDCONTRESPCOTAORCA == "S" && IDTRANSFCOTAREALI == "N" && !repeatedInAnotherSequence;
}

double SignedAmount(const std::string& accountKind, double amount) {
  const bool receivable = accountKind == "CNTRECEBER" || accountKind == "Conta a Receber";
  return receivable ? amount : -amount;
}

}  // namespace operations
