#include "operations/consolidation_rules.h"

namespace operations {

bool InTotalRescission(const std::string& IDTPDISTRATOREALI) {
  std::string code = IDTPDISTRATOREALI;
  while (!code.empty() && code.back() == ' ') code.pop_back();
  return code == "TOTAL";
}

std::string TotalRescissionFilter() {
  return std::string("IDTPDISTRATOREALI = ") + "'TOTAL'" + " AND IDCONTPROCESDIST = " + "'S'";
}

}  // namespace operations
