#include "operations/substitution_rules.h"

#include "lib/consiste.h"

namespace operations {

bool IsQuotaCase(const SubstitutionParty& p) {
  return p.IDCONTRESPCOTAORCA == "S" && p.IDTRANSFCOTAREALI == "N" && !p.otherContracts;
}

bool SubstituteToBeNamed(const SubstitutionParty& p) {
  if (p.IDCONTRESPCOTAORCA == "N") return true;
  if (p.IDCONTRESPCOTAORCA == "S" && (p.IDTRANSFCOTAREALI == "S" || p.otherContracts)) return true;
  return IsQuotaCase(p) && p.CDCLICONTSUBORE.empty();
}

namespace {
std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
}  // namespace

std::string RegistrationToAdjust(const std::string& type, const std::string& typed) {
  if (type == "F") return Trimmed(typed);
  if (type == "J") return typed;
  return "C" + typed;
}

double OpenReceivablesSum(const std::vector<Receivable>& receivables) {
  double sum = 0;
  for (const Receivable& r : receivables)
    if (r.IDSTATREC == "A") sum += r.VRATUAREC;
  return RoundDec(sum, 2);
}

}  // namespace operations
