#pragma once
// The partial rescission's decisions, over plain values.

#include <string>

#include "protocol/eligibility.h"

namespace operations {

using eligibility::QuotasBlockPartialRescission;

// The amount as the server's Distrato takes it: as calculated when the
// rescission generates a receivable, negated when it generates a payable.
// `accountKind` is GERACTPAGAR of the values row, its code ("CNTRECEBER")
// or its display text ("Conta a Receber").
double SignedAmount(const std::string& accountKind, double amount);

}  // namespace operations
