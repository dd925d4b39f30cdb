// The demo budgets. Moving through the parties of budget 0000000101 shows
// every command of the workspace both enabled and disabled; the other
// budgets cover a locked sequence, the fixed-cost flag "N" and a branch with
// missing parameters.

#include <functional>
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

struct Person {
  const char* code;
  const char* cpfBase;
  const char* name;
};

// Parties are people; a budget's client is its graduation committee or couple.
const Person kPeople[] = {
    {"1001", "123456789", "Ana Paula Ferreira"},      {"1002", "234567891", "Bruno Henrique Costa"},
    {"1003", "345678912", "Carla Souza Martins"},     {"1004", "456789123", "Daniel Oliveira Ramos"},
    {"1005", "567891234", "Eduarda Lima Santos"},     {"1006", "678912345", "Fernando Augusto Brum"},
    {"1007", "789123456", "Gabriel Almeida Rocha"},   {"1008", "891234567", "Helena Carvalho Dias"},
    {"1009", "912345678", "Igor Nascimento Pires"},   {"1010", "102938475", "Juliana Barbosa Teixeira"},
    {"1011", "564738291", "Leonardo Moreira Cunha"},  {"1012", "019283746", "Mariana Gomes Freitas"},
    {"1013", "837465920", "Natália Ribeiro Campos"},  {"1014", "246813579", "Otávio Silveira Prestes"},
    {"1015", "135792468", "Patrícia Fagundes Link"},  {"1016", "975318642", "Rafael Kern Zimmermann"},
    {"1017", "864209753", "Fernanda Weber Schultz"},  {"1018", "314159265", "Tiago Becker Lemos"},
    {"1019", "271828182", "Vanessa Tavares Nunes"},   {"1020", "161803398", "William Prado Machado"},
    {"1021", "141421356", "Yasmin Duarte Farias"},    {"1022", "173205080", "Samuel Klein Rosa"},
    {"1023", "223344556", "Lucas Fontoura Dias"},     {"1024", "334455667", "Marina Castilhos Reis"},
    {"1025", "445566778", "Pedro Lamb Vargas"},       {"1026", "556677889", "Sofia Gehlen Moraes"},
    {"1027", "667788990", "Thiago Brust Oliveira"},   {"1028", "778899001", "Valentina Rech Souza"},
    {"1029", "889900112", "Bianca Toledo Ritter"},    {"1030", "990011223", "Caio Menezes Haas"},
    {"1031", "102030405", "Yara Kessler Moura"},
};

void clients(DemoWriter& out) {
  for (const Person& p : kPeople) out.client({p.code, "F", MakeCpf(p.cpfBase), p.name, p.name});
  out.client({"2001", "J", MakeCnpj("908070600001"), "Formatura Medicina UFRGS 2026",
              "Comissão de Formatura Medicina UFRGS 2026"});
  out.client({"2002", "J", MakeCnpj("807060500001"), "Casamento Fernanda e Rafael",
              "Fernanda e Rafael Cerimonial Ltda"});
  out.client({"2003", "J", MakeCnpj("706050400001"), "Formatura Direito PUCRS 2026",
              "Comissão de Formatura Direito PUCRS 2026"});
  out.client({"2004", "J", MakeCnpj("605040300001"), "Formatura Eng. Civil UFSM 2026",
              "Comissão de Formatura Engenharia Civil UFSM"});
  out.client({"2005", "J", MakeCnpj("504030200077"), "Formatura Odontologia UFCSPA 2026",
              "Comissão de Formatura Odontologia UFCSPA 2026"});
  out.client({"2006", "J", MakeCnpj("403020100055"), "Formatura Arquitetura UFRGS 2026",
              "Comissão de Formatura Arquitetura UFRGS 2026"});
  out.client({"2007", "J", MakeCnpj("302010900033"), "Casamento Bianca e Caio", "Bianca e Caio Eventos Ltda"});
}

// Receivables of one party: `count` monthly installments from `firstDue`,
// the status of each given in order, the rest default. `tweak` adjusts an
// installment by index.
struct Installments {
  std::string launch;
  int count;
  int y, m, d;
  double each;
  std::vector<std::string> statuses;
  std::function<void(int, ReceivableRow&)> tweak = nullptr;
};

void receivables(DemoWriter& out, const PartyRow& p, const std::string& company, const Installments& plan) {
  for (int i = 0; i < plan.count; ++i) {
    ReceivableRow r;
    r.branch = p.branch;
    r.launch = plan.launch;
    r.dueSeq = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1);
    r.company = company;
    r.budget = p.budget;
    r.seq = p.seq;
    r.client = p.client;
    r.address = p.address;
    r.originalDue = r.currentDue = AddMonths(plan.y, plan.m, plan.d, i);
    r.value = plan.each;
    r.status = i < static_cast<int>(plan.statuses.size()) ? plan.statuses[static_cast<std::size_t>(i)] : "A";
    if (r.status == "B") r.boleto = "E";
    r.bankAccount = company == "01" ? "1203456" : "130045678";
    if (plan.tweak) plan.tweak(i, r);
    out.receivable(r);
  }
}

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

PartyRow partyOf(const char* budget, const char* seq, const char* client, double value) {
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

void mainBudget(DemoWriter& out) {
  const char* b = demo::kMainBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2001", "0001", "01", DateDays(2025, 11, 20),
                              DateDays(2027, 1, 22));
  header.guests = 240;
  header.quotas = 12;
  out.budget(header);
  // The child budget that carries Daniel's consolidated rescission.
  BudgetRow childBudget = BudgetOf(demo::kBranch, b, "02", "2001", "0001", "01", DateDays(2026, 10, 5),
                                   DateDays(2027, 1, 22));
  childBudget.parentSeq = "01";
  out.budget(childBudget);

  // Ana: open for a partial rescission and for a substitution.
  PartyRow p = partyOf(b, "01", "1001", 12000);
  p.contact = "Ana";
  out.party(p);
  receivables(out, p, "01", {"0000004101", 3, 2026, 10, 10, 4000, {"B"}, [](int i, ReceivableRow& r) {
                               if (i == 1) r.boleto = "E";
                             }});

  // Bruno: his first receivable was written off by a rescission ("Distrato"),
  // which blocks a new one.
  p = partyOf(b, "01", "1002", 12000);
  out.party(p);
  receivables(out, p, "01", {"0000004102", 3, 2026, 10, 10, 4000, {"P"}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.writtenOff = "S";
                             }});

  // Carla: partial rescission started, waiting for consolidation.
  p = partyOf(b, "01", "1003", 12000);
  p.situation = "CANCELADO";
  p.process = "S";
  p.rescissionType = "PARCIAL";
  out.party(p);
  receivables(out, p, "01", {"0000004103", 3, 2026, 10, 10, 4000, {"B", "C", "C"}});

  // Daniel: partial rescission consolidated; its accounts were generated.
  p = partyOf(b, "01", "1004", 12000);
  p.situation = "CANCELADO";
  p.process = "C";
  p.rescissionType = "PARCIAL";
  out.party(p);
  receivables(out, p, "01", {"0000004104", 2, 2026, 10, 10, 4000, {"B", "C"}});
  receivables(out, p, "01", {"0000004204", 2, 2026, 12, 20, 600, {"A", "A"}, [](int i, ReceivableRow& r) {
                               r.origin = "I";
                               if (i == 0) r.boleto = "E";
                             }});
  PartyRow child = partyOf(b, "02", "1004", 1200);
  child.process = "C";
  child.rescissionType = "PARCIAL";
  child.origin = "DISTRATO";
  out.party(child);

  // Eduarda: consolidated with a recorded substitute (Fernando); the refund
  // is a payable.
  p = partyOf(b, "01", "1005", 12000);
  p.situation = "CANCELADO";
  p.process = "C";
  p.rescissionType = "PARCIAL";
  p.substitute = "1006";
  out.party(p);
  receivables(out, p, "01", {"0000004105", 3, 2026, 9, 10, 4000, {"B", "B", "C"}});
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
  p = partyOf(b, "01", "1007", 9000);
  p.situation = "LANCADO";
  out.party(p);

  // Helena: came in by substitution, with the quota-transfer account.
  p = partyOf(b, "01", "1008", 8000);
  p.origin = "SUBSTITUICAO";
  out.party(p);
  receivables(out, p, "01", {"0000004108", 2, 2026, 12, 15, 4000, {}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.origin = "G";
                             }});

  // Igor: everything paid, nothing open.
  p = partyOf(b, "01", "1009", 12000);
  out.party(p);
  receivables(out, p, "01", {"0000004109", 3, 2026, 8, 10, 4000, {"B", "B", "B"}});

  // Juliana: holds the budget's quotas; accounts in the remaining states.
  p = partyOf(b, "01", "1010", 15000);
  p.quotaHolder = "S";
  p.quotas = 12;
  out.party(p);
  receivables(out, p, "01", {"0000004110", 4, 2026, 11, 5, 3750, {"A", "A", "D", "A"}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.deletedRealSettlement = "S";
                               if (i == 1) r.renegotiation = "0000000007";
                             }});

  // Leonardo: held quotas and transferred them.
  p = partyOf(b, "01", "1011", 12000);
  p.quotaHolder = "S";
  p.quotasTransferred = "S";
  out.party(p);
  receivables(out, p, "01", {"0000004111", 3, 2026, 11, 20, 4000, {"B", "A", "A"}, [](int i, ReceivableRow& r) {
                               if (i == 2) r.origin = "G";
                             }});

  // Mariana: returned; her cancelled account stays out of the view.
  p = partyOf(b, "01", "1012", 6000);
  p.situation = "DEVOLVIDO";
  out.party(p);
  receivables(out, p, "01", {"0000004112", 2, 2026, 9, 15, 3000, {"B", "C"}});

  // Natália: partial rescission in process with a substitute named.
  p = partyOf(b, "01", "1013", 12000);
  p.situation = "CANCELADO";
  p.process = "S";
  p.rescissionType = "PARCIAL";
  p.substitute = "1014";
  out.party(p);
  receivables(out, p, "01", {"0000004113", 3, 2026, 10, 25, 4000, {"B", "C", "C"}});
}

void lockedBudget(DemoWriter& out) {
  const char* b = demo::kLockedBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2002", "0002", "01", DateDays(2026, 6, 1),
                              DateDays(2027, 3, 13));
  header.situation = "1";
  header.guests = 180;
  out.budget(header);
  for (const char* c : {"1016", "1017"}) {
    PartyRow p = partyOf(b, "01", c, 30000);
    out.party(p);
    receivables(out, p, "01", {std::string("00000061") + (c + 2), 6, 2026, 9, 1, 5000, {"B", "B", "B"}});
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
  PartyRow p = partyOf(b, "01", "1018", 10000);
  out.party(p);
  receivables(out, p, "01", {"0000007118", 4, 2026, 10, 15, 2500, {"B", "B"}});

  p = partyOf(b, "01", "1019", 10000);
  p.situation = "CANCELADO";
  p.process = "S";
  p.rescissionType = "TOTAL";
  out.party(p);
  receivables(out, p, "01", {"0000007119", 4, 2026, 10, 15, 2500, {"B", "C", "C", "C"}});

  p = partyOf(b, "01", "1020", 10000);
  p.situation = "CANCELADO";
  p.process = "C";
  p.rescissionType = "TOTAL";
  out.party(p);
  receivables(out, p, "01", {"0000007120", 2, 2026, 10, 15, 2500, {"B", "C"}});
  receivables(out, p, "01", {"0000007220", 2, 2026, 12, 28, 900, {}, [](int i, ReceivableRow& r) {
                               r.origin = "T";
                               if (i == 0) r.boleto = "E";
                             }});
}

void otherBranchBudget(DemoWriter& out) {
  const char* b = demo::kOtherBranchBudget;
  BudgetRow header = BudgetOf(demo::kOtherBranch, b, "01", "2004", "0001", "02", DateDays(2026, 2, 10),
                              DateDays(2027, 1, 29));
  header.guests = 90;
  header.quotas = 3;
  out.budget(header);
  PartyRow p = partyOf(b, "01", "1021", 9000);
  p.branch = demo::kOtherBranch;
  out.party(p);
  receivables(out, p, "02", {"0000008121", 3, 2026, 11, 10, 3000, {"B"}});

  // In process, but the branch lacks the parameters to reverse her written-off
  // receivable: consolidation stays off.
  p = partyOf(b, "01", "1022", 9000);
  p.branch = demo::kOtherBranch;
  p.situation = "CANCELADO";
  p.process = "S";
  p.rescissionType = "PARCIAL";
  out.party(p);
  receivables(out, p, "02", {"0000008122", 3, 2026, 11, 10, 3000, {"P", "C", "C"}, [](int i, ReceivableRow& r) {
                               if (i == 0) r.writtenOff = "S";
                             }});
}

// Four parties free for a total rescission: two are refunded, one owes the
// rest of its fine and one paid nothing.
void totalRescissionBudget(DemoWriter& out) {
  const char* b = demo::kTotalBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2005", "0001", "01", DateDays(2026, 1, 15),
                              DateDays(2027, 1, 30));
  header.guests = 40;
  header.quotas = 4;
  out.budget(header);
  PartyRow p = partyOf(b, "01", "1023", 10000);
  out.party(p);
  receivables(out, p, "01", {"0000007323", 4, 2026, 9, 10, 2500, {"B", "B"}});
  p = partyOf(b, "01", "1024", 10000);
  out.party(p);
  receivables(out, p, "01", {"0000007324", 5, 2026, 10, 10, 2000, {"B"}});
  p = partyOf(b, "01", "1025", 8000);
  out.party(p);
  receivables(out, p, "01", {"0000007325", 10, 2026, 11, 10, 800, {"B"}});
  p = partyOf(b, "01", "1026", 6000);
  out.party(p);
  receivables(out, p, "01", {"0000007326", 3, 2027, 1, 10, 2000, {}});
  // Sofia's second contract (address 2), half paid: a total rescission
  // prices and records each of her contracts on its own.
  p = partyOf(b, "01", "1026", 6000);
  p.address = "2";
  out.party(p);
  receivables(out, p, "01", {"0000007327", 6, 2026, 9, 10, 1000, {"B", "B", "B"}});
}

// A total rescission recorded and waiting for its consolidation: the parties
// cancelled and in process, their values recorded, the child budget 02
// (approved) carrying them.
void totalInProcessBudget(Database& db, DemoWriter& out) {
  const char* b = demo::kTotalInProcessBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2006", "0002", "01", DateDays(2025, 12, 10),
                              DateDays(2027, 2, 20));
  header.guests = 20;
  header.quotas = 2;
  out.budget(header);
  BudgetRow child = BudgetOf(demo::kBranch, b, "02", "2006", "0002", "01", DateDays(2026, 12, 1),
                             DateDays(2027, 2, 20));
  child.parentSeq = "01";
  child.guests = 20;
  child.quotas = 2;
  out.budget(child);

  Statement record = db.prepare(
      "INSERT INTO DISTRATOPARCIAL (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
      "   NRSEQORCAEVEFILHO, VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, CDOPERADOR)"
      " VALUES (?, ?, '01', ?, ?, '02', ?, ?, ?, ?, ?, ?, 'SUPERVISOR')");
  struct Rescinded {
    const char* client;
    const char* address;
    const char* launch;
    double charged, paid, calculated, percent, fine;
    const char* account;
  };
  // Thiago paid 6,000.00 of 12,000.00 (50 %: fine 25 %, 3,000.00 refunded);
  // Valentina 1,000.00 of 12,000.00 (8,33 %: fine 10 %, owes 200.00), and on
  // her second contract (address 2) 3,000.00 of 6,000.00 (fine 25 %, 1,500.00
  // refunded).
  const Rescinded parties[] = {{"1027", "1", "0000007427", 12000, 6000, 3000, 25, 3000, "CNTPAGAR"},
                               {"1028", "1", "0000007428", 12000, 1000, 200, 10, 1200, "CNTRECEBER"},
                               {"1028", "2", "0000007429", 6000, 3000, 1500, 25, 1500, "CNTPAGAR"}};
  for (const Rescinded& r : parties) {
    PartyRow p = partyOf(b, "01", r.client, r.charged);
    p.address = r.address;
    p.situation = "CANCELADO";
    p.process = "S";
    p.rescissionType = "TOTAL";
    out.party(p);
    const int settled = static_cast<int>(r.paid / 1000);
    const int count = static_cast<int>(r.charged / 1000);
    std::vector<std::string> statuses(static_cast<std::size_t>(settled), "B");
    statuses.resize(static_cast<std::size_t>(count), "C");
    receivables(out, p, "01", {r.launch, count, 2026, 1, 10, 1000, statuses});
    PartyRow carried = partyOf(b, "02", r.client, r.calculated);
    carried.address = r.address;
    carried.situation = "LANCADO";
    carried.process = "S";
    carried.rescissionType = "TOTAL";
    carried.origin = "DISTRATO";
    out.party(carried);
    // Amounts are stored in cents, as every amount is.
    auto cents = [](double value) { return ToCents(value).value(); };
    record.bindAll(demo::kBranch, b, r.client, r.address, cents(r.paid), cents(r.calculated), cents(r.calculated), r.percent,
                   cents(r.fine), r.account)
        .run();
  }
}

// A partial rescission whose child budget has not been approved yet: its
// consolidation is refused until it is.
void unapprovedChildBudget(Database& db, DemoWriter& out) {
  const char* b = demo::kUnapprovedChildBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "2007", "0001", "01", DateDays(2026, 2, 5),
                              DateDays(2027, 4, 17));
  header.guests = 150;
  header.quotas = 2;
  out.budget(header);
  BudgetRow child = BudgetOf(demo::kBranch, b, "02", "1029", "0001", "01", DateDays(2026, 11, 30),
                             DateDays(2027, 4, 17));
  child.parentSeq = "01";
  out.budget(child);
  Statement unapproved = db.prepare(
      "UPDATE ORCAEVENTO SET IDORCAAPROVADO = 'N' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = '02'");
  unapproved.bindAll(demo::kBranch, b).run();

  PartyRow p = partyOf(b, "01", "1029", 15000);
  p.situation = "CANCELADO";
  p.process = "S";
  p.rescissionType = "PARCIAL";
  out.party(p);
  receivables(out, p, "01", {"0000007529", 3, 2026, 9, 5, 5000, {"B", "C", "C"}});
  PartyRow carried = partyOf(b, "02", "1029", 1250);
  carried.situation = "LANCADO";
  carried.process = "S";
  carried.rescissionType = "PARCIAL";
  carried.origin = "DISTRATO";
  out.party(carried);

  p = partyOf(b, "01", "1030", 15000);
  out.party(p);
  receivables(out, p, "01", {"0000007530", 3, 2026, 9, 5, 5000, {"B"}});
}

// A client with two contracts, the second one in a later sequence and in a
// partial rescission: Yara's live contract in sequence 01 has paid 4,000.00,
// the one rescinded in sequence 02 paid 2,000.00 of 6,000.00 (33,33 %: fine
// 20 %, 800.00 refunded), its approved child budget 03. The consolidation
// reads the contract in the rescission, not the first one.
void secondSequenceBudget(Database& db, DemoWriter& out) {
  const char* b = demo::kSecondSequenceBudget;
  BudgetRow header = BudgetOf(demo::kBranch, b, "01", "1031", "0001", "01", DateDays(2026, 1, 20),
                              DateDays(2027, 3, 12));
  header.guests = 20;
  header.quotas = 2;
  out.budget(header);
  BudgetRow amendment = BudgetOf(demo::kBranch, b, "02", "1031", "0001", "01", DateDays(2026, 4, 2),
                                 DateDays(2027, 3, 12));
  out.budget(amendment);
  BudgetRow child = BudgetOf(demo::kBranch, b, "03", "1031", "0001", "01", DateDays(2026, 12, 1),
                             DateDays(2027, 3, 12));
  child.parentSeq = "02";
  out.budget(child);

  PartyRow live = partyOf(b, "01", "1031", 12000);
  out.party(live);
  receivables(out, live, "01", {"0000007631", 12, 2026, 1, 15, 1000, {"B", "B", "B", "B"}});
  PartyRow rescinded = partyOf(b, "02", "1031", 6000);
  rescinded.situation = "CANCELADO";
  rescinded.process = "S";
  rescinded.rescissionType = "PARCIAL";
  out.party(rescinded);
  receivables(out, rescinded, "01", {"0000007632", 6, 2026, 5, 15, 1000, {"B", "B", "C", "C", "C", "C"}});
  PartyRow carried = partyOf(b, "03", "1031", 800);
  carried.situation = "LANCADO";
  carried.process = "S";
  carried.rescissionType = "PARCIAL";
  carried.origin = "DISTRATO";
  out.party(carried);
  Statement record = db.prepare(
      "INSERT INTO DISTRATOPARCIAL (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
      "   NRSEQORCAEVEFILHO, VRPAGO, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, CDOPERADOR,"
      "   IDSITUCONTOREVANT)"
      " VALUES (?1, ?2, '02', '1031', '1', '03', 200000, 80000, 80000, 20, 120000, 'CNTPAGAR', 'SUPERVISOR',"
      "   'CNTGERADA')");
  record.bindAll(demo::kBranch, b).run();
}

}  // namespace

void WriteDemoBudgets(Database& db, DemoWriter& out) {
  clients(out);
  mainBudget(out);
  lockedBudget(out);
  fixedCostBudget(out);
  otherBranchBudget(out);
  totalRescissionBudget(out);
  totalInProcessBudget(db, out);
  unapprovedChildBudget(db, out);
  secondSequenceBudget(db, out);
}
