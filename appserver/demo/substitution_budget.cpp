// The demo budget of the substitution: one party of each mode the
// "Troca de Titularidade" command takes, and clients, people and companies,
// free to be picked as substitutes.

#include <string>

#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/demo_writer.h"
#include "demo/registration.h"

namespace {

PartyRow partyOf(const char* client, const char* address, double value, int guests, int quotas) {
  PartyRow p;
  p.branch = demo::kBranch;
  p.budget = demo::kSubstitutionBudget;
  p.seq = "01";
  p.client = client;
  p.address = address;
  p.value = value;
  p.guests = guests;
  p.quotas = quotas;
  return p;
}

// `count` monthly receivables of `each` from `month`/2027, the first
// `settled` of them settled.
void receivables(DemoWriter& out, const PartyRow& p, const std::string& launch, int count, int month, double each,
                 int settled) {
  for (int i = 0; i < count; ++i) {
    ReceivableRow r;
    r.branch = p.branch;
    r.launch = launch;
    r.dueSeq = "0" + std::to_string(i + 1);
    r.company = "01";
    r.budget = p.budget;
    r.seq = p.seq;
    r.client = p.client;
    r.address = p.address;
    r.originalDue = r.currentDue = AddMonths(month > 12 ? 2027 : 2026, month > 12 ? month - 12 : month, 10, i);
    r.value = each;
    r.status = i < settled ? "B" : "A";
    if (r.status == "B") r.boleto = "E";
    r.bankAccount = "1203456";
    out.receivable(r);
  }
}

}  // namespace

void WriteSubstitutionBudget(DemoWriter& out) {
  out.client({"3001", "F", MakeCpf("381726354"), "Lucas Pereira Antunes", "Lucas Pereira Antunes"});
  out.client({"3002", "F", MakeCpf("472635189"), "Beatriz Moura Camargo", "Beatriz Moura Camargo"});
  out.client({"3003", "F", MakeCpf("563728194"), "Marcelo Dutra Vieira", "Marcelo Dutra Vieira"});
  out.client({"3101", "J", MakeCnpj("514131210001"), "Eventos Sul Produções", "Eventos Sul Produções Ltda"});
  out.client({"3102", "J", MakeCnpj("403020100001"), "Doce Festa Buffet", "Doce Festa Buffet e Eventos Ltda"});
  out.client({"3201", "F", MakeCpf("654738291"), "Renata Schmitt Borges", "Renata Schmitt Borges"});
  out.client({"3202", "F", MakeCpf("745382916"), "Gustavo Ritter Paim", "Gustavo Ritter Paim"});
  out.client({"3203", "F", MakeCpf("736291845"), "Camila Fontoura Reis", "Camila Fontoura Reis"});
  out.client({"3204", "F", MakeCpf("927164538"), "Paulo Henrique Staub", "Paulo Henrique Staub"});
  out.client({"2105", "J", MakeCnpj("302010900001"), "Formatura Odontologia UFRGS 2026",
              "Comissão de Formatura Odontologia UFRGS 2026"});

  BudgetRow header = BudgetOf(demo::kBranch, demo::kSubstitutionBudget, "01", "2105", "0001", "01",
                              DateDays(2026, 3, 2), DateDays(2027, 7, 16));
  header.guests = 90;
  header.quotas = 30;
  out.budget(header);

  // Renata: names a substitute (the question), then a plain substitution.
  PartyRow p = partyOf("3201", "1", 9000, 15, 0);
  out.party(p);
  receivables(out, p, "0000007201", 3, 12, 3000, 0);

  // Gustavo: holds the quotas, untransferred, one contract: the quota transfer.
  p = partyOf("3202", "1", 15000, 30, 18);
  p.quotaHolder = "S";
  out.party(p);
  receivables(out, p, "0000007202", 3, 12, 5000, 0);

  // Camila: holds quotas and has a second contract, so she names a substitute.
  p = partyOf("3203", "1", 12000, 25, 12);
  p.quotaHolder = "S";
  out.party(p);
  receivables(out, p, "0000007203", 3, 12, 4000, 0);
  p = partyOf("3203", "2", 6000, 10, 0);
  out.party(p);
  receivables(out, p, "0000007213", 2, 13, 3000, 0);

  // Paulo: everything paid, substitute already recorded, no quota flag: the
  // substitution runs at once.
  p = partyOf("3204", "1", 8000, 10, 0);
  p.quotaHolder = "";
  p.substitute = "3003";
  out.party(p);
  receivables(out, p, "0000007204", 2, 9, 4000, 2);
}
