// One large budget for benchmarks: N parties, twelve monthly receivables each
// (four settled, eight open).

#include <cstdio>
#include <string>

#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/demo_writer.h"
#include "demo/registration.h"

namespace {

constexpr int kInstallments = 12;
constexpr int kSettled = 4;

std::string digits(long value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*ld", width, value);
  return buf;
}

}  // namespace

void WriteBulkBudget(DemoWriter& out, int parties) {
  const std::string budget = demo::kBulkBudget;
  out.client({"2999", "J", MakeCnpj("504030200001"), "Formatura Integrada 2027", "Comissão Integrada de Formatura 2027"});
  out.budget(BudgetOf(demo::kBranch, budget, "01", "2999", "0001", "01", DateDays(2026, 3, 1), DateDays(2027, 7, 10),
                      parties * 10, parties));
  for (int i = 1; i <= parties; ++i) {
    std::string client = "B" + digits(i, 7);
    std::string name = "Formando " + digits(i, 6);
    out.client({client, "F", MakeCpf("8" + digits(i, 8)), name, name});

    out.party(PartyOf(budget, "01", client, kInstallments * 500.0), "01",
              {"9" + digits(i, 9), kInstallments, 2026, 8, 10, 500, Settled(kSettled)});
  }
}
