#pragma once
// The partial rescission's decisions, over plain values.

#include <string>

namespace operations {

// A party responsible for the budget's quotas that has not transferred them
// and holds no other sequence of the budget cannot be rescinded alone: its
// quotas must first go to another party.
bool QuotasBlockPartialRescission(const std::string& IDCONTRESPCOTAORCA, const std::string& IDTRANSFCOTAREALI,
                                  bool repeatedInAnotherSequence);

// The amount as the server's Distrato takes it: as calculated when the
// rescission generates a receivable, negated when it generates a payable.
// `accountKind` is GERACTPAGAR of the values row, its code ("CNTRECEBER")
// or its display text ("Conta a Receber").
double SignedAmount(const std::string& accountKind, double amount);

}  // namespace operations
