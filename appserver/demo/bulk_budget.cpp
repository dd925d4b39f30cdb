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
  BudgetRow header = BudgetOf(demo::kBranch, budget, "01", "2999", "0001", "01", DateDays(2026, 3, 1),
                              DateDays(2027, 7, 10));
  header.guests = parties * 10;
  header.quotas = parties;
  out.budget(header);
  for (int i = 1; i <= parties; ++i) {
    std::string client = "B" + digits(i, 7);
    std::string name = "Formando " + digits(i, 6);
    out.client({client, "F", MakeCpf("8" + digits(i, 8)), name, name});

    PartyRow p;
    p.branch = demo::kBranch;
    p.budget = budget;
    p.seq = "01";
    p.client = client;
    p.value = kInstallments * 500.0;
    p.guests = 10;
    p.quotas = 1;
    out.party(p);

    ReceivableRow r;
    r.branch = demo::kBranch;
    r.launch = "9" + digits(i, 9);
    r.company = "01";
    r.budget = budget;
    r.seq = "01";
    r.client = client;
    r.value = 500.0;
    r.bankAccount = "1203456";
    for (int k = 0; k < kInstallments; ++k) {
      r.dueSeq = digits(k + 1, 2);
      r.originalDue = r.currentDue = AddMonths(2026, 8, 10, k);
      r.status = k < kSettled ? "B" : "A";
      r.boleto = k < kSettled ? "E" : "A";
      out.receivable(r);
    }
  }
}
