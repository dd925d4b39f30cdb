// The undo budgets: a consolidated partial rescission and a consolidated total
// one that can be undone, and two partial ones whose undo is refused (a
// commission already generated; a generated account already settled). The
// budgets are written as sold; their rescissions and consolidations are made
// by the module's methods, so they hold what an undo restores.

#include <string>

#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/demo_operations.h"
#include "demo/demo_writer.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

// One contract of 12.000,00 in twelve monthly receivables of 1.000,00 from
// 10/03/2026, the first `paid` of them settled.
struct Sold {
  const char* budget;
  const char* client;
  const char* launch;
  int paid;
  const char* address = "1";
};

// Each budget sold to its committee, then its contracts.
const char* const kCommittees[][2] = {{demo::kUndoPartialBudget, "2301"},
                                      {demo::kUndoTotalBudget, "2302"},
                                      {demo::kUndoCommissionBudget, "2303"},
                                      {demo::kUndoSettledBudget, "2304"}};
const Sold kContracts[] = {
    {demo::kUndoPartialBudget, "3301", "0000008301", 6},     {demo::kUndoPartialBudget, "3302", "0000008302", 4},
    {demo::kUndoTotalBudget, "3303", "0000008303", 1},       {demo::kUndoTotalBudget, "3304", "0000008304", 6},
    {demo::kUndoTotalBudget, "3303", "0000008313", 6, "2"},  {demo::kUndoCommissionBudget, "3305", "0000008305", 6},
    {demo::kUndoCommissionBudget, "3306", "0000008306", 2},  {demo::kUndoSettledBudget, "3307", "0000008307", 1},
    {demo::kUndoSettledBudget, "3308", "0000008308", 3},
};

// The finance system receiving the receivables a consolidation generated for
// a client of the budget, on their due day, in cash.
void SettleGeneratedReceivables(Database& db, const char* budget, const char* client) {
  const char* generated =
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3 AND IDORIGNFORCA IN ('I', 'T')";
  Statement settle = db.prepare(std::string("UPDATE CONTARECEBER SET IDSTATREC = 'B', NRBAIXAREC = '1', CDTPBAIXAREC = '02'") +
                                generated);
  settle.bindAll(demo::kBranch, budget, client).run();
  Statement settlement = db.prepare(
      std::string("INSERT INTO BAIXAREC (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, NRBAIXAREC, CDTPBAIXAREC,"
                  "   DTBAIXAREC, VRBAIXAREC, CDEMPRESA, CDREDUCONT)"
                  " SELECT CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, '1', '02', DTATUAVENREC, VRATUAREC,"
                  "        CDEMPRESA, '001' FROM CONTARECEBER") +
      generated);
  settlement.bindAll(demo::kBranch, budget, client).run();
}

// The generated accounts fall due a month after the business day.
double GeneratedDue() { return DateDays(2027, 1, 8); }

}  // namespace

void WriteUndoBudgets(DemoWriter& out) {
  for (const auto& [budget, committee] : kCommittees)
    out.budget(BudgetOf(demo::kBranch, budget, "01", committee, "0001", "01", DateDays(2026, 2, 1),
                        DateDays(2027, 3, 12)));
  for (const Sold& c : kContracts) {
    PartyRow p = PartyOf(c.budget, "01", c.client, 12000);
    p.address = c.address;
    out.party(p, "01", {c.launch, 12, 2026, 3, 10, 1000, Settled(c.paid)});
  }
}

void OperateUndoBudgets(DemoOperations& ops) {
  // Rodrigo paid half (fine 25 %, 3.000,00 refunded); his refund is an open
  // payable, so his rescission can be undone.
  const DemoContract rodrigo{demo::kUndoPartialBudget, "01", "3301"};
  ops.rescind(rodrigo);
  ops.consolidate(rodrigo, GeneratedDue());
  // A total rescission consolidated: Tatiana owes 200,00 (an open
  // receivable) and is refunded 3.000,00 on her second contract (address 2,
  // an open payable), Ulisses is refunded 3.000,00 (an open payable).
  ops.rescindTotal(demo::kUndoTotalBudget);
  ops.consolidateTotal(demo::kUndoTotalBudget, GeneratedDue());
  // Vitória's refund; her undo is refused for the seller's commission
  // (FinishUndoBudgets).
  const DemoContract vitoria{demo::kUndoCommissionBudget, "01", "3305"};
  ops.rescind(vitoria);
  ops.consolidate(vitoria, GeneratedDue());
  // Xavier owes 200,00; his undo is refused once it is received
  // (FinishUndoBudgets).
  const DemoContract xavier{demo::kUndoSettledBudget, "01", "3307"};
  ops.rescind(xavier);
  ops.consolidate(xavier, GeneratedDue());
}

void FinishUndoBudgets(Database& db) {
  // The seller's commission on Vitória's budget was generated meanwhile.
  Statement commission = db.prepare(
      "INSERT INTO COMISSAOVENDEDOR (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDVENDEDOR, VRCOMISSAO, IDCOMISGERADA)"
      " VALUES (?1, ?2, '01', '0001', 72000, 'S')");
  commission.bindAll(demo::kBranch, demo::kUndoCommissionBudget).run();
  // The 200,00 Xavier owed was received on its due day.
  SettleGeneratedReceivables(db, demo::kUndoSettledBudget, "3307");
}
