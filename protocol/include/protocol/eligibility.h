#pragma once
// Whether a budget or a party may be changed, as plain decisions over the
// values both sides hold: the main screen's command table enables its
// commands with them and the server refuses with them, so a call from another
// program or a stale screen meets the same rules.

#include <string_view>

namespace eligibility {

// A budget sequence in any situation but open (empty or "3") allows no change.
inline bool BudgetLocked(std::string_view IDSITUORCEVE) { return !IDSITUORCEVE.empty() && IDSITUORCEVE != "3"; }

// A budget that uses no fixed cost is rescinded only as a whole.
inline bool OnlyTotalRescission(std::string_view IDUTILCUSTOFIXOORCA) { return IDUTILCUSTOFIXOORCA == "N"; }

// A party responsible for the budget's quotas that has not transferred them
// and holds no other sequence of the budget cannot be rescinded alone: its
// quotas must first go to another party.
inline bool QuotasBlockPartialRescission(std::string_view IDCONTRESPCOTAORCA, std::string_view IDTRANSFCOTAREALI,
                                         bool repeatedInAnotherSequence) {
  return IDCONTRESPCOTAORCA == "S" && IDTRANSFCOTAREALI == "N" && !repeatedInAnotherSequence;
}

// A contract already in a rescission, or cancelled by one, may enter no
// other rescission.
inline bool PartyInRescission(std::string_view IDSITUCONTOREV, std::string_view IDCONTPROCESDIST) {
  return IDCONTPROCESDIST != "N" || IDSITUCONTOREV == "CANCELADO";
}

// A party is rescinded alone only while its contract is generated, it is in
// no rescission yet and no substitute is recorded for it.
inline bool PartyOpenForPartialRescission(std::string_view IDSITUCONTOREV, std::string_view IDCONTPROCESDIST,
                                          std::string_view CDCLICONTSUBORE) {
  return IDSITUCONTOREV == "CNTGERADA" && IDCONTPROCESDIST == "N" && CDCLICONTSUBORE.empty();
}

}  // namespace eligibility
