// The demo budget of the substitution: one party of each mode the
// "Troca de Titularidade" command takes; the clients free to be picked as
// substitutes are in demo_clients.cpp.

#include <string>

#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/demo_writer.h"

namespace {

PartyRow partyOf(const char* client, const char* address, double value, int guests, int quotas) {
  PartyRow p = PartyOf(demo::kSubstitutionBudget, "01", client, value);
  p.address = address;
  p.guests = guests;
  p.quotas = quotas;
  return p;
}

}  // namespace

void WriteSubstitutionBudget(DemoWriter& out) {
  out.budget(BudgetOf(demo::kBranch, demo::kSubstitutionBudget, "01", "2105", "0001", "01", DateDays(2026, 3, 2),
                      DateDays(2027, 7, 16), 90, 30));

  // Renata: names a substitute (the question), then a plain substitution.
  out.party(partyOf("3201", "1", 9000, 15, 0), "01", {"0000007201", 3, 2026, 12, 10, 3000, {}});

  // Gustavo: holds the quotas, untransferred, one contract: the quota transfer.
  PartyRow p = partyOf("3202", "1", 15000, 30, 18);
  p.quotaHolder = "S";
  out.party(p, "01", {"0000007202", 3, 2026, 12, 10, 5000, {}});

  // Camila: holds quotas and has a second contract, so she names a substitute.
  p = partyOf("3203", "1", 12000, 25, 12);
  p.quotaHolder = "S";
  out.party(p, "01", {"0000007203", 3, 2026, 12, 10, 4000, {}});
  out.party(partyOf("3203", "2", 6000, 10, 0), "01", {"0000007213", 2, 2027, 1, 10, 3000, {}});

  // Paulo: everything paid, substitute already recorded, no quota flag: the
  // substitution runs at once.
  p = partyOf("3204", "1", 8000, 10, 0);
  p.quotaHolder = "";
  p.substitute = "3003";
  out.party(p, "01", {"0000007204", 2, 2026, 9, 10, 4000, Settled(2)});
}
