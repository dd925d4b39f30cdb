#pragma once
// The consolidation's decisions, over plain values.

#include <string>

namespace operations {

// A party whose rescission type (IDTPDISTRATOREALI) marks it as part of a
// total rescission, which only the total consolidation takes.
bool InTotalRescission(const std::string& IDTPDISTRATOREALI);

// The filter of the parties in the process of a total rescission.
std::string TotalRescissionFilter();

}  // namespace operations
