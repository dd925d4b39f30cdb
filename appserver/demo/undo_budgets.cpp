// The undo budgets: a consolidated partial rescission and a consolidated total
// one that can be undone, and two partial ones whose undo is refused (a
// commission already generated; a generated account already settled). The
// rows are what Distrato, DistratoTotal and the consolidations write,
// including what an undo restores.

#include <string>
#include <vector>

#include "data/money.h"
#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "demo/demo_writer.h"
#include "demo/registration.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

// One party's consolidated rescission: its 12 monthly receivables of 1.000,00
// (the first `paid` settled and applied to the rescission, the rest
// cancelled by it), its recorded values and the account generated for it.
struct Rescinded {
  const char* client;
  const char* launch;          // of its receivables
  const char* generatedLaunch; // of the generated account
  int paid;                    // installments paid
  double percent, fine, calculated;
  const char* account;         // CNTRECEBER owes the difference, CNTPAGAR is refunded
  const char* type;            // PARCIAL or TOTAL
  bool generatedSettled = false;
  const char* address = "1";   // the contract's address: a client may hold two
};

PartyRow PartyOf(const char* budget, const char* seq, const char* client, double value) {
  PartyRow p;
  p.branch = demo::kBranch;
  p.budget = budget;
  p.seq = seq;
  p.client = client;
  p.value = value;
  p.guests = 10;
  p.quotas = 1;
  return p;
}

void Installments(DemoWriter& out, const PartyRow& p, const char* launch, int settled, bool rescinded) {
  for (int i = 0; i < 12; ++i) {
    ReceivableRow r;
    r.branch = p.branch;
    r.launch = launch;
    r.dueSeq = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1);
    r.company = "01";
    r.budget = p.budget;
    r.seq = p.seq;
    r.client = p.client;
    r.address = p.address;
    r.originalDue = r.currentDue = AddMonths(2026, 3, 10, i);
    r.value = 1000;
    r.status = i < settled ? "B" : (rescinded ? "C" : "A");
    if (r.status == "B") r.boleto = "E";
    r.bankAccount = "1203456";
    out.receivable(r);
  }
}

class UndoBudgetWriter {
 public:
  UndoBudgetWriter(Database& db, DemoWriter& out)
      : out_(out),
        record_(db.prepare(
            "INSERT INTO DISTRATOPARCIAL (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
            "   NRSEQORCAEVEFILHO, VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, CDOPERADOR,"
            "   IDSITUCONTOREVANT)"
            " VALUES (?1, ?2, '01', ?3, ?9, '02', ?4, ?5, ?5, ?6, ?7, ?8, 'SUPERVISOR', 'CNTGERADA')")),
        remember_(db.prepare(
            "UPDATE CONTARECEBER SET IDSTATRECDISTRATO = CASE IDSTATREC WHEN 'C' THEN 'A' END,"
            "       IDBAIXAREALDISTRATO = CASE IDSTATREC WHEN 'B' THEN 'N' END,"
            "       IDBAIXAREALIZADA = CASE IDSTATREC WHEN 'B' THEN 'S' ELSE IDBAIXAREALIZADA END"
            " WHERE CDFILIAL = ?1 AND NRLANCTONF = ?2")),
        item_(db.prepare(
            "INSERT INTO ITEMORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRITEM, CDARVPROD, QTITEM, VRUNITITEM)"
            " VALUES (?1, ?2, '02', ?3, '0901001', 1, ?4)")) {}

  // Sequence 01 of the budget and its child budget 02, approved.
  void Budget(const char* budget, const char* client) {
    out_.budget(BudgetOf(demo::kBranch, budget, "01", client, "0001", "01", DateDays(2026, 2, 1),
                         DateDays(2027, 3, 12)));
    BudgetRow child = BudgetOf(demo::kBranch, budget, "02", client, "0001", "01", DateDays(2026, 11, 20),
                               DateDays(2027, 3, 12));
    child.parentSeq = "01";
    out_.budget(child);
  }

  void Free(const char* budget, const char* client, const char* launch, int paid) {
    PartyRow p = PartyOf(budget, "01", client, 12000);
    out_.party(p);
    Installments(out_, p, launch, paid, false);
  }

  void Consolidated(const char* budget, const Rescinded& r) {
    PartyRow p = PartyOf(budget, "01", r.client, 12000);
    p.address = r.address;
    p.situation = "CANCELADO";
    p.process = "C";
    p.rescissionType = r.type;
    out_.party(p);
    Installments(out_, p, r.launch, r.paid, true);
    remember_.bindAll(demo::kBranch, r.launch).run();

    PartyRow carried = PartyOf(budget, "02", r.client, r.calculated);
    carried.address = r.address;
    carried.situation = "LANCADO";
    carried.process = "C";
    carried.rescissionType = r.type;
    carried.origin = "DISTRATO";
    out_.party(carried);
    if (r.fine > 0) item_.bindAll(demo::kBranch, budget, ++items_, Cents(r.fine)).run();
    record_.bindAll(demo::kBranch, budget, r.client, Cents(r.paid * 1000.0), Cents(r.calculated), r.percent,
                    Cents(r.fine), r.account, r.address)
        .run();
    Generated(p, r);
  }

 private:
  static std::int64_t Cents(double value) { return ToCents(value).value(); }

  // The account the consolidation generated, due a month after it.
  void Generated(const PartyRow& p, const Rescinded& r) {
    const std::string origin = std::string(r.type) == "TOTAL" ? "T" : "I";
    const double due = DateDays(2027, 1, 8);
    if (std::string(r.account) == "CNTRECEBER") {
      ReceivableRow g;
      g.branch = p.branch;
      g.launch = r.generatedLaunch;
      g.dueSeq = "01";
      g.company = "01";
      g.budget = p.budget;
      g.seq = p.seq;
      g.client = p.client;
      g.address = p.address;
      g.originalDue = g.currentDue = due;
      g.value = r.calculated;
      g.origin = origin;
      g.bankAccount = "1203456";
      g.status = r.generatedSettled ? "B" : "A";
      out_.receivable(g);
    } else {
      PayableRow g;
      g.branch = p.branch;
      g.launch = r.generatedLaunch;
      g.dueSeq = "01";
      g.company = "01";
      g.budget = p.budget;
      g.seq = p.seq;
      g.client = p.client;
      g.address = p.address;
      g.originalDue = g.currentDue = due;
      g.value = r.calculated;
      g.origin = origin;
      g.status = r.generatedSettled ? "B" : "A";
      out_.payable(g);
    }
  }

  DemoWriter& out_;
  Statement record_, remember_, item_;
  int items_ = 0;
};

}  // namespace

void WriteUndoBudgets(Database& db, DemoWriter& out) {
  out.client({"3301", "F", MakeCpf("418273645"), "Rodrigo Bastos Lima", "Rodrigo Bastos Lima"});
  out.client({"3302", "F", MakeCpf("529384756"), "Simone Azevedo Kunz", "Simone Azevedo Kunz"});
  out.client({"3303", "F", MakeCpf("630495867"), "Tatiana Moraes Lenz", "Tatiana Moraes Lenz"});
  out.client({"3304", "F", MakeCpf("741506978"), "Ulisses Carvalho Pinto", "Ulisses Carvalho Pinto"});
  out.client({"3305", "F", MakeCpf("852617089"), "Vitória Sander Paz", "Vitória Sander Paz"});
  out.client({"3306", "F", MakeCpf("963728190"), "Wagner Hoff Rocha", "Wagner Hoff Rocha"});
  out.client({"3307", "F", MakeCpf("174839201"), "Xavier Mello Dorneles", "Xavier Mello Dorneles"});
  out.client({"3308", "F", MakeCpf("285940312"), "Zilda Prates Cruz", "Zilda Prates Cruz"});
  // Their names sort after the demo's earlier clients, so the lists of
  // clients offered as substitutes keep their order.
  out.client({"2301", "J", MakeCnpj("201918170001"), "Turma de Psicologia PUCRS 2026",
              "Comissão de Formatura Psicologia PUCRS 2026"});
  out.client({"2302", "J", MakeCnpj("191817160001"), "Turma de Nutrição UFCSPA 2026",
              "Comissão de Formatura Nutrição UFCSPA 2026"});
  out.client({"2303", "J", MakeCnpj("181716150001"), "Noivos Vitória e Wagner", "Vitória e Wagner Eventos Ltda"});
  out.client({"2304", "J", MakeCnpj("171615140001"), "Turma de Farmácia UFRGS 2026",
              "Comissão de Formatura Farmácia UFRGS 2026"});

  // Rodrigo paid 6.000,00 of 12.000,00 (50 %: fine 25 %, 3.000,00 refunded);
  // his refund is an open payable, so his rescission can be undone.
  {
    UndoBudgetWriter w(db, out);
    w.Budget(demo::kUndoPartialBudget, "2301");
    w.Consolidated(demo::kUndoPartialBudget,
                   {"3301", "0000008301", "0000008401", 6, 25, 3000, 3000, "CNTPAGAR", "PARCIAL"});
    w.Free(demo::kUndoPartialBudget, "3302", "0000008302", 4);
  }
  // A total rescission consolidated: Tatiana owes 200,00 (an open
  // receivable) and is refunded 3.000,00 on her second contract (address 2,
  // an open payable), Ulisses is refunded 3.000,00 (an open payable).
  {
    UndoBudgetWriter w(db, out);
    w.Budget(demo::kUndoTotalBudget, "2302");
    w.Consolidated(demo::kUndoTotalBudget, {"3303", "0000008303", "0000008403", 1, 10, 1200, 200, "CNTRECEBER", "TOTAL"});
    w.Consolidated(demo::kUndoTotalBudget, {"3304", "0000008304", "0000008404", 6, 25, 3000, 3000, "CNTPAGAR", "TOTAL"});
    w.Consolidated(demo::kUndoTotalBudget,
                   {"3303", "0000008313", "0000008413", 6, 25, 3000, 3000, "CNTPAGAR", "TOTAL", false, "2"});
  }
  // Vitória's undo is refused: the seller's commission on the budget was
  // already generated.
  {
    UndoBudgetWriter w(db, out);
    w.Budget(demo::kUndoCommissionBudget, "2303");
    w.Consolidated(demo::kUndoCommissionBudget,
                   {"3305", "0000008305", "0000008405", 6, 25, 3000, 3000, "CNTPAGAR", "PARCIAL"});
    w.Free(demo::kUndoCommissionBudget, "3306", "0000008306", 2);
    Statement commission = db.prepare(
        "INSERT INTO COMISSAOVENDEDOR (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDVENDEDOR, VRCOMISSAO, IDCOMISGERADA)"
        " VALUES (?1, ?2, '01', '0001', 72000, 'S')");
    commission.bindAll(demo::kBranch, demo::kUndoCommissionBudget).run();
  }
  // Xavier's undo is refused: the 200,00 he owed was already received.
  {
    UndoBudgetWriter w(db, out);
    w.Budget(demo::kUndoSettledBudget, "2304");
    w.Consolidated(demo::kUndoSettledBudget,
                   {"3307", "0000008307", "0000008407", 1, 10, 1200, 200, "CNTRECEBER", "PARCIAL", true});
    w.Free(demo::kUndoSettledBudget, "3308", "0000008308", 3);
  }
}

void RememberDemoRescissions(Database& db) {
  // The demo's other rescissions were written before the server kept what a
  // rescission changed; give them what it would have kept, so they undo too.
  db.exec(
      "UPDATE CONTARECEBER SET IDSTATRECDISTRATO = 'A'"
      " WHERE IDSTATREC = 'C' AND IDSTATRECDISTRATO IS NULL AND IDORIGNFORCA = 'F' AND EXISTS ("
      "   SELECT 1 FROM CONTRATANTE c WHERE c.CDFILIAL = CONTARECEBER.CDFILIAL"
      "      AND c.NRORCAEVENTO = CONTARECEBER.NRORCAEVENTO AND c.NRSEQORCAEVE = CONTARECEBER.NRSEQORCAEVE"
      "      AND c.CDCLIENTE = CONTARECEBER.CDCLIENTE AND c.NRENDCLIORCEVE = CONTARECEBER.NRENDCLIORCEVE"
      "      AND c.IDCONTPROCESDIST IN ('S', 'C'))");
  db.exec("UPDATE DISTRATOPARCIAL SET IDSITUCONTOREVANT = 'CNTGERADA' WHERE IDSITUCONTOREVANT IS NULL");
}
