#include "demo/demo_writer.h"

#include "data/money.h"
#include "demo/calendar.h"
#include "demo/demo_database.h"
#include "storage/database.h"

namespace {

// Demo amounts are written in cents, as every amount is stored.
Cents StoredCents(double value) { return ToCents(value).value(); }

// "NF 4101 01/02": the launch without its filling zeros, as a document is printed.
std::string document(const std::string& launch, const std::string& installment, const std::string& dueSeq) {
  const std::size_t digit = launch.find_first_not_of('0');
  return "NF " + (digit == std::string::npos ? "0" : launch.substr(digit)) + " " + installment + "/" + dueSeq;
}

// "01" to "99": a due sequence as the accounts number it.
std::string dueSequence(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

PartyRow PartyOf(std::string budget, std::string seq, std::string client, double value) {
  PartyRow p;
  p.branch = demo::kBranch;
  p.budget = std::move(budget);
  p.seq = std::move(seq);
  p.client = std::move(client);
  p.value = value;
  p.guests = 10;
  p.quotas = 1;
  return p;
}

std::vector<std::string> Settled(int settled) { return std::vector<std::string>(static_cast<std::size_t>(settled), "B"); }

DemoWriter::DemoWriter(Database& db)
    : client_(db.prepare("INSERT INTO CLIENTE (CDCLIENTE, IDTPIJURCLIE, NRINSJURCLIE, NMFANTCLIE, NMRAZSOCCLIE)"
                         " VALUES (?, ?, ?, ?, ?)")),
      budget_(db.prepare("INSERT INTO ORCAEVENTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, NRSEQORCAEVEPAI,"
                         " IDSITUORCEVE, IDUTILCUSTOFIXOORCA, CDCLIENTE, CDVENDEDOR, CDEMPRESA, DTORCAMENTO,"
                         " DTEVENTO, QTCONVIDADOS, QTCOTAS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      party_(db.prepare("INSERT INTO CONTRATANTE (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE,"
                        " NMCONTCLIORE, VRRECECONTOREV, IDSITUCONTOREV, IDCONTPROCESDIST, IDORIGEMINCLUSAO,"
                        " CDCLICONTSUBORE, IDTPDISTRATOREALI, IDCONTRESPCOTAORCA, IDTRANSFCOTAREALI,"
                        " QTCONVCONTRAT, QTCOTACONTRAT) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      receivable_(db.prepare(
          "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
          " NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC, VRATUAREC,"
          " IDSTATREC, NRSEQHISTRENEGO, BAIXAREALREALI, NRBAIXAREC, CDTPBAIXAREC, IDBAIXAREALIZADA, IDORIGNFORCA,"
          " IDSTATBREC, NRCNABRECREM, CDNOSNUMREC, CDCONTCORR)"
          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      settlement_(db.prepare("INSERT INTO BAIXAREC (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, NRBAIXAREC,"
                             " CDTPBAIXAREC, DTBAIXAREC, VRBAIXAREC, CDEMPRESA, CDREDUCONT)"
                             " VALUES (?, ?, ?, ?, '1', '02', ?, ?, ?, '001')")),
      payable_(db.prepare(
          "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRPARCELAPAG, NRSEQVENPAG, CDEMPRESA, NRORCAEVENTO,"
          " NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG,"
          " IDSTATPAG, IDBAIXAREALIZADA, IDORIGNFORCA, IDSTATBPAG, NRCNABPAGREM, CDNOSNUMPAG)"
          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {}

void DemoWriter::client(const ClientRow& r) {
  client_.bindAll(r.code, r.type, r.registration, r.tradeName, r.corporateName);
  client_.run();
}

void DemoWriter::budget(const BudgetRow& r) {
  budget_.bindAll(r.branch, r.budget, r.seq);
  budget_.bindOpt(4, r.parentSeq);
  budget_.bind(5, r.situation).bind(6, r.fixedCost).bind(7, r.client).bind(8, r.seller).bind(9, r.company);
  budget_.bind(10, r.budgetDate).bind(11, r.eventDate).bind(12, r.guests).bind(13, r.quotas);
  budget_.run();
}

void DemoWriter::party(const PartyRow& r) {
  party_.bindAll(r.branch, r.budget, r.seq, r.client, r.address, r.contact, StoredCents(r.value), r.situation,
                 r.process, r.origin);
  party_.bindOpt(11, r.substitute).bindOpt(12, r.rescissionType);
  party_.bind(13, r.quotaHolder).bind(14, r.quotasTransferred).bind(15, r.guests).bind(16, r.quotas);
  party_.run();
}

void DemoWriter::party(const PartyRow& r, const std::string& company, const Installments& plan) {
  party(r);
  receivables(r, company, plan);
}

void DemoWriter::receivable(const ReceivableRow& r) {
  bool settled = r.status == "B";
  bool issued = r.boleto == "E";
  receivable_.bindAll(r.branch, r.launch, r.installment, r.dueSeq, r.company, r.budget, r.seq, r.client, r.address,
                      document(r.launch, r.installment, r.dueSeq), r.originalDue, r.currentDue, StoredCents(r.value),
                      StoredCents(r.value), r.status);
  receivable_.bindOpt(16, r.renegotiation).bind(17, r.deletedRealSettlement);
  if (settled)
    receivable_.bind(18, "1").bind(19, "02");
  else
    receivable_.bindNull(18).bindNull(19);
  receivable_.bind(20, r.writtenOff).bind(21, r.origin).bind(22, r.boleto);
  if (issued)
    receivable_.bind(23, r.launch.substr(r.launch.size() - 6)).bind(24, "1090" + r.launch + r.dueSeq);
  else
    receivable_.bindNull(23).bindNull(24);
  receivable_.bindOpt(25, r.bankAccount);
  receivable_.run();
  if (settled) {
    settlement_.bindAll(r.branch, r.launch, r.installment, r.dueSeq, r.currentDue, StoredCents(r.value), r.company);
    settlement_.run();
  }
}

void DemoWriter::payable(const PayableRow& r) {
  bool issued = r.boleto == "E";
  payable_.bindAll(r.branch, r.launch, r.installment, r.dueSeq, r.company, r.budget, r.seq, r.client, r.address,
                   document(r.launch, r.installment, r.dueSeq), r.originalDue, r.currentDue, StoredCents(r.value),
                   StoredCents(r.value), r.status, r.writtenOff, r.origin, r.boleto);
  if (issued)
    payable_.bind(19, r.launch.substr(r.launch.size() - 6)).bind(20, "2370" + r.launch + r.dueSeq);
  else
    payable_.bindNull(19).bindNull(20);
  payable_.run();
}

void DemoWriter::receivables(const PartyRow& p, const std::string& company, const Installments& plan) {
  for (int i = 0; i < plan.count; ++i) {
    ReceivableRow r;
    r.branch = p.branch;
    r.launch = plan.launch;
    r.dueSeq = dueSequence(i + 1);
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
    receivable(r);
  }
}
