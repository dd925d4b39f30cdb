// The demo budgets. Moving through the parties of budget 0000000101 shows
// every command of the workspace both enabled and disabled; the other
// budgets cover a locked sequence, the fixed-cost flag "N", a branch with
// missing parameters and rescissions waiting for their consolidation.
//
// The rescissions of budgets 0000000101, 0000000103 and 0000000201 are
// written row by row: they stand for rescissions recorded before the server
// kept their values and child budgets (some in states no method reaches, such
// as one party of a budget in a total rescission), so no method writes them.
// The others are made by the module's methods (OperateDemoBudgets).

#include <string>

#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/demo_operations.h"
#include "demo/demo_writer.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

PayableRow payableOf(const PartyRow& p, const std::string& company, const std::string& launch, int seq) {
  PayableRow r;
  r.branch = p.branch;
  r.launch = launch;
  r.dueSeq = "0" + std::to_string(seq);
  r.company = company;
  r.budget = p.budget;
  r.seq = p.seq;
  r.client = p.client;
  r.address = p.address;
  return r;
}

// The party as a rescission recorded row by row left it: cancelled, in the
// process ("S" started, "C" consolidated) of a "PARCIAL" or "TOTAL" rescission.
PartyRow InRescission(PartyRow p, const char* process, const char* type) {
  p.situation = "CANCELADO";
  p.process = process;
  p.rescissionType = type;
  return p;
}

void mainBudget(DemoWriter& out) {
  const char* b = demo::kMainBudget;
  out.budget(BudgetOf(demo::kBranch, b, "01", "2001", "0001", "01", DateDays(2025, 11, 20),
                      DateDays(2027, 1, 22), 240, 12));
  // The child budget that carries Daniel's consolidated rescission.
  BudgetRow childBudget = BudgetOf(demo::kBranch, b, "02", "2001", "0001", "01", DateDays(2026, 10, 5),
                                   DateDays(2027, 1, 22));
  childBudget.parentSeq = "01";
  out.budget(childBudget);

  // Ana: open for a partial rescission and for a substitution.
  PartyRow p = PartyOf(b, "01", "1001", 12000);
  p.contact = "Ana";
  out.party(p, "01", {"0000004101", 3, 2026, 10, 10, 4000, {"B"}, [](int i, ReceivableRow& r) {
                               if (i == 1) r.boleto = "E";
                             }});

  // Bruno: his first receivable was written off by a rescission ("Distrato"),
  // which blocks a new one.
  p = PartyOf(b, "01", "1002", 12000);
  out.party(p, "01", {"0000004102", 3, 2026, 10, 10, 4000, {"P"}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.writtenOff = "S";
                             }});

  // Carla: partial rescission started, waiting for consolidation.
  p = PartyOf(b, "01", "1003", 12000);
  p = InRescission(p, "S", "PARCIAL");
  out.party(p, "01", {"0000004103", 3, 2026, 10, 10, 4000, {"B", "C", "C"}});

  // Daniel: partial rescission consolidated; its accounts were generated.
  p = PartyOf(b, "01", "1004", 12000);
  p = InRescission(p, "C", "PARCIAL");
  out.party(p, "01", {"0000004104", 2, 2026, 10, 10, 4000, {"B", "C"}});
  out.receivables(p, "01", {"0000004204", 2, 2026, 12, 20, 600, {"A", "A"}, [](int i, ReceivableRow& r) {
                               r.origin = "I";
                               if (i == 0) r.boleto = "E";
                             }});
  PartyRow child = PartyOf(b, "02", "1004", 1200);
  child.process = "C";
  child.rescissionType = "PARCIAL";
  child.origin = "DISTRATO";
  out.party(child);

  // Eduarda: consolidated with a recorded substitute (Fernando); the refund
  // is a payable.
  p = PartyOf(b, "01", "1005", 12000);
  p = InRescission(p, "C", "PARCIAL");
  p.substitute = "1006";
  out.party(p, "01", {"0000004105", 3, 2026, 9, 10, 4000, {"B", "B", "C"}});
  {
    PayableRow pay = payableOf(p, "01", "0000005105", 1);
    pay.originalDue = pay.currentDue = DateDays(2026, 11, 30);
    pay.value = 2000;
    pay.status = "B";
    out.payable(pay);
    pay = payableOf(p, "01", "0000005105", 2);
    pay.originalDue = pay.currentDue = DateDays(2026, 12, 30);
    pay.value = 2000;
    pay.boleto = "E";
    out.payable(pay);
    pay = payableOf(p, "01", "0000005105", 3);
    pay.originalDue = pay.currentDue = DateDays(2027, 1, 30);
    pay.value = 1600;
    pay.status = "P";
    out.payable(pay);
    pay = payableOf(p, "01", "0000005205", 1);
    pay.originalDue = pay.currentDue = DateDays(2026, 12, 15);
    pay.value = 150;
    pay.origin = "F";
    pay.boleto = "E";
    out.payable(pay);
  }

  // Gabriel: launched, no account yet.
  p = PartyOf(b, "01", "1007", 9000);
  p.situation = "LANCADO";
  out.party(p);

  // Helena: came in by substitution, with the quota-transfer account.
  p = PartyOf(b, "01", "1008", 8000);
  p.origin = "SUBSTITUICAO";
  out.party(p, "01", {"0000004108", 2, 2026, 12, 15, 4000, {}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.origin = "G";
                             }});

  // Igor: everything paid, nothing open.
  p = PartyOf(b, "01", "1009", 12000);
  out.party(p, "01", {"0000004109", 3, 2026, 8, 10, 4000, {"B", "B", "B"}});

  // Juliana: holds the budget's quotas; accounts in the remaining states.
  p = PartyOf(b, "01", "1010", 15000);
  p.quotaHolder = "S";
  p.quotas = 12;
  out.party(p, "01", {"0000004110", 4, 2026, 11, 5, 3750, {"A", "A", "D", "A"}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.deletedRealSettlement = "S";
                               if (i == 1) r.renegotiation = "0000000007";
                             }});

  // Leonardo: held quotas and transferred them.
  p = PartyOf(b, "01", "1011", 12000);
  p.quotaHolder = "S";
  p.quotasTransferred = "S";
  out.party(p, "01", {"0000004111", 3, 2026, 11, 20, 4000, {"B", "A", "A"}, [](int i, ReceivableRow& r) {
                               if (i == 2) r.origin = "G";
                             }});

  // Mariana: returned; her cancelled account stays out of the view.
  p = PartyOf(b, "01", "1012", 6000);
  p.situation = "DEVOLVIDO";
  out.party(p, "01", {"0000004112", 2, 2026, 9, 15, 3000, {"B", "C"}});

  // Natália: partial rescission in process with a substitute named.
  p = PartyOf(b, "01", "1013", 12000);
  p = InRescission(p, "S", "PARCIAL");
  p.substitute = "1014";
  out.party(p, "01", {"0000004113", 3, 2026, 10, 25, 4000, {"B", "C", "C"}});
}

void lockedBudget(DemoWriter& out) {
  const char* b = demo::kLockedBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2002", "0002", "01", DateDays(2026, 6, 1),
                              DateDays(2027, 3, 13));
  header.situation = "1";
  header.guests = 180;
  out.budget(header);
  for (const char* c : {"1016", "1017"}) {
    PartyRow p = PartyOf(b, "01", c, 30000);
    out.party(p, "01", {std::string("00000061") + (c + 2), 6, 2026, 9, 1, 5000, {"B", "B", "B"}});
  }
}

void fixedCostBudget(DemoWriter& out) {
  const char* b = demo::kFixedCostBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2003", "0002", "01", DateDays(2025, 12, 2),
                              DateDays(2027, 2, 5));
  header.fixedCost = "N";
  header.guests = 120;
  header.quotas = 4;
  out.budget(header);
  PartyRow p = PartyOf(b, "01", "1018", 10000);
  out.party(p, "01", {"0000007118", 4, 2026, 10, 15, 2500, {"B", "B"}});

  p = PartyOf(b, "01", "1019", 10000);
  p = InRescission(p, "S", "TOTAL");
  out.party(p, "01", {"0000007119", 4, 2026, 10, 15, 2500, {"B", "C", "C", "C"}});

  p = PartyOf(b, "01", "1020", 10000);
  p = InRescission(p, "C", "TOTAL");
  out.party(p, "01", {"0000007120", 2, 2026, 10, 15, 2500, {"B", "C"}});
  out.receivables(p, "01", {"0000007220", 2, 2026, 12, 28, 900, {}, [](int i, ReceivableRow& r) {
                               r.origin = "T";
                               if (i == 0) r.boleto = "E";
                             }});
}

void otherBranchBudget(DemoWriter& out) {
  const char* b = demo::kOtherBranchBudget;
  out.budget(BudgetOf(demo::kOtherBranch, b, "01", "2004", "0001", "02", DateDays(2026, 2, 10),
                      DateDays(2027, 1, 29), 90, 3));
  PartyRow p = PartyOf(b, "01", "1021", 9000);
  p.branch = demo::kOtherBranch;
  out.party(p, "02", {"0000008121", 3, 2026, 11, 10, 3000, {"B"}});

  // In process, but the branch lacks the parameters to reverse her written-off
  // receivable: consolidation stays off.
  p = PartyOf(b, "01", "1022", 9000);
  p.branch = demo::kOtherBranch;
  p = InRescission(p, "S", "PARCIAL");
  out.party(p, "02", {"0000008122", 3, 2026, 11, 10, 3000, {"P", "C", "C"}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.writtenOff = "S";
                             }});
}

// Four parties free for a total rescission: two are refunded, one owes the
// rest of its fine and one paid nothing.
void totalRescissionBudget(DemoWriter& out) {
  const char* b = demo::kTotalBudget;
  out.budget(BudgetOf(demo::kBranch, b, "01", "2005", "0001", "01", DateDays(2026, 1, 15),
                      DateDays(2027, 1, 30), 40, 4));
  PartyRow p = PartyOf(b, "01", "1023", 10000);
  out.party(p, "01", {"0000007323", 4, 2026, 9, 10, 2500, {"B", "B"}});
  p = PartyOf(b, "01", "1024", 10000);
  out.party(p, "01", {"0000007324", 5, 2026, 10, 10, 2000, {"B"}});
  p = PartyOf(b, "01", "1025", 8000);
  out.party(p, "01", {"0000007325", 10, 2026, 11, 10, 800, {"B"}});
  p = PartyOf(b, "01", "1026", 6000);
  out.party(p, "01", {"0000007326", 3, 2027, 1, 10, 2000, {}});
  // Sofia's second contract (address 2), half paid: a total rescission
  // prices and records each of her contracts on its own.
  p = PartyOf(b, "01", "1026", 6000);
  p.address = "2";
  out.party(p, "01", {"0000007327", 6, 2026, 9, 10, 1000, {"B", "B", "B"}});
}

// Two parties and Valentina's second contract, sold; the total rescission
// that waits for its consolidation is recorded by the module (see
// OperateDemoBudgets).
void totalInProcessBudget(DemoWriter& out) {
  const char* b = demo::kTotalInProcessBudget;
  out.budget(BudgetOf(demo::kBranch, b, "01", "2006", "0002", "01", DateDays(2025, 12, 10),
                      DateDays(2027, 2, 20), 20, 2));
  struct Sold {
    const char* client;
    const char* address;
    const char* launch;
    int installments, paid;  // monthly installments of 1.000,00, the first `paid` settled
  };
  const Sold parties[] = {{"1027", "1", "0000007427", 12, 6}, {"1028", "1", "0000007428", 12, 1},
                          {"1028", "2", "0000007429", 6, 3}};
  for (const Sold& s : parties) {
    PartyRow p = PartyOf(b, "01", s.client, s.installments * 1000.0);
    p.address = s.address;
    out.party(p, "01", {s.launch, s.installments, 2026, 1, 10, 1000, Settled(s.paid)});
  }
}

// Bianca, one third paid, and Caio, free.
void unapprovedChildBudget(DemoWriter& out) {
  const char* b = demo::kUnapprovedChildBudget;
  out.budget(BudgetOf(demo::kBranch, b, "01", "2007", "0001", "01", DateDays(2026, 2, 5),
                      DateDays(2027, 4, 17), 150, 2));
  PartyRow p = PartyOf(b, "01", "1029", 15000);
  out.party(p, "01", {"0000007529", 3, 2026, 9, 5, 5000, Settled(1)});
  p = PartyOf(b, "01", "1030", 15000);
  out.party(p, "01", {"0000007530", 3, 2026, 9, 5, 5000, Settled(1)});
}

// A client with two contracts, the second one in a later sequence: Yara's
// live contract in sequence 01 has paid 4.000,00, the one in sequence 02
// 2.000,00 of 6.000,00.
void secondSequenceBudget(DemoWriter& out) {
  const char* b = demo::kSecondSequenceBudget;
  out.budget(BudgetOf(demo::kBranch, b, "01", "1031", "0001", "01", DateDays(2026, 1, 20),
                      DateDays(2027, 3, 12), 20, 2));
  out.budget(BudgetOf(demo::kBranch, b, "02", "1031", "0001", "01", DateDays(2026, 4, 2), DateDays(2027, 3, 12)));
  PartyRow live = PartyOf(b, "01", "1031", 12000);
  out.party(live, "01", {"0000007631", 12, 2026, 1, 15, 1000, Settled(4)});
  PartyRow amended = PartyOf(b, "02", "1031", 6000);
  out.party(amended, "01", {"0000007632", 6, 2026, 5, 15, 1000, Settled(2)});
}

}  // namespace

void WriteDemoBudgets(DemoWriter& out) {
  mainBudget(out);
  lockedBudget(out);
  fixedCostBudget(out);
  otherBranchBudget(out);
  totalRescissionBudget(out);
  totalInProcessBudget(out);
  unapprovedChildBudget(out);
  secondSequenceBudget(out);
}

void OperateDemoBudgets(DemoOperations& ops) {
  // Thiago paid half (fine 25 %, 3.000,00 refunded); Valentina 1.000,00 of
  // 12.000,00 (fine 10 %, owes 200,00) and half of her second contract (fine
  // 25 %, 1.500,00 refunded). The child budget 02 carries them.
  ops.rescindTotal(demo::kTotalInProcessBudget);
  // Bianca's partial rescission (fine 20 %), the refund negotiated down to
  // 1.250,00; its child budget 02 waits for approval (FinishDemoBudgets).
  ops.rescind({demo::kUnapprovedChildBudget, "01", "1029"}, 1250);
  // Yara's contract of sequence 02 (a third paid: fine 20 %, 800,00
  // refunded), carried by the child budget 03: the consolidation reads the
  // contract in the rescission, not her first one.
  ops.rescind({demo::kSecondSequenceBudget, "02", "1031"});
}

void FinishDemoBudgets(Database& db) {
  // The rescissions of budgets 101, 103 and 201 written row by row stand for
  // ones recorded before the server kept what a rescission changed; give them
  // what it would have kept, so they undo too.
  db.exec(
      "UPDATE CONTARECEBER SET IDSTATRECDISTRATO = 'A'"
      " WHERE IDSTATREC = 'C' AND IDSTATRECDISTRATO IS NULL AND IDORIGNFORCA = 'F' AND EXISTS ("
      "   SELECT 1 FROM CONTRATANTE c WHERE c.CDFILIAL = CONTARECEBER.CDFILIAL"
      "      AND c.NRORCAEVENTO = CONTARECEBER.NRORCAEVENTO AND c.NRSEQORCAEVE = CONTARECEBER.NRSEQORCAEVE"
      "      AND c.CDCLIENTE = CONTARECEBER.CDCLIENTE AND c.NRENDCLIORCEVE = CONTARECEBER.NRENDCLIORCEVE"
      "      AND c.IDCONTPROCESDIST IN ('S', 'C'))");
  // The selling system has not approved Bianca's child budget yet, so its
  // consolidation is refused until it does.
  Statement unapproved = db.prepare(
      "UPDATE ORCAEVENTO SET IDORCAAPROVADO = 'N' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = '02'");
  unapproved.bindAll(demo::kBranch, demo::kUnapprovedChildBudget).run();
}
