#include "methods/consolidator.h"

#include <optional>
#include <vector>

#include "methods/account_store.h"
#include "methods/key_codes.h"
#include "methods/launch_numbers.h"
#include "net/refusal.h"
#include "storage/database.h"

using namespace rescission_store;

namespace {

AccountParameters ReadParameters(Database& db, const std::string& branch) {
  Statement st = db.prepare(
      "SELECT COALESCE(CDTIPOOPER, ''), COALESCE(CDTPCTREC, ''), COALESCE(CDTIPOOPERPAG, ''),"
      "       COALESCE(CDTPCTPAG, ''), COALESCE(CDSERIEENTR, ''), COALESCE(CDTPBAIXADISTRATO, '')"
      "  FROM PARAMDISTRATO WHERE CDFILIAL = ?1");
  st.bind(1, branch);
  AccountParameters p;
  if (st.step())
    p = {st.text(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5)};
  return p;
}

void RequireParametersFor(const AccountParameters& p, const std::string& account, bool settled) {
  if (account == kAccountReceivable) {
    if (p.operation.empty()) throw Refusal("N_PARAM_TIPOOPER");
    if (p.receivableType.empty()) throw Refusal("N_PARAM_TPCTREC|" + p.operation);
  } else {
    if (p.payableOperation.empty()) throw Refusal("N_PARAM_TIPOOPERPAG");
    if (p.payableType.empty()) throw Refusal("N_PARAM_TPCTPAG|" + p.payableOperation);
    if (p.entrySeries.empty()) throw Refusal("N_PARAM_SERIEENTR");
  }
  if (settled && p.settlementType.empty()) throw Refusal("N_PARAM_TPBAIXADISTRATO");
}

}  // namespace

Consolidator::Consolidator(Database& db, const BudgetKey& b, std::string origin, const std::string& bankAccount)
    : db_(db), b_(b), origin_(std::move(origin)), bankAccount_(KeyCode(bankAccount, kBankAccountWidth)),
      params_(ReadParameters(db, b.branch)), today_(ProcessingDate(db, b.branch)),
      close_(db.prepare(
          "UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'C' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
          "   AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDCONTPROCESDIST = 'S'")),
      closeChild_(db.prepare(
          "UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'C' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
          "   AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND IDORIGEMINCLUSAO = 'DISTRATO'"
          "   AND IDCONTPROCESDIST = 'S'")),
      cancelOpen_(db.prepare(
          "UPDATE CONTARECEBER SET IDSTATREC = 'C', IDSTATRECDISTRATO = COALESCE(IDSTATRECDISTRATO, IDSTATREC)"
          " WHERE NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
          "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND CDFILIAL = ?1 AND IDSTATREC IN ('A', 'P')")),
      applySettled_(db.prepare(
          "UPDATE CONTARECEBER SET IDBAIXAREALIZADA = 'S', IDBAIXAREALDISTRATO = IDBAIXAREALIZADA"
          " WHERE NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
          "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 AND CDFILIAL = ?1 AND IDSTATREC = 'B'")),
      company_(db.prepare(
          "SELECT COALESCE(CDEMPRESA, '') FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
          "   AND NRSEQORCAEVE = ?3")),
      receivable_(db,
                  "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
                  "   NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC,"
                  "   VRATUAREC, IDSTATREC, IDORIGNFORCA, CDCONTCORR)",
                  "(?, ?, '01', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'A', ?, ?)"),
      payable_(db,
               "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRPARCELAPAG, NRSEQVENPAG, CDEMPRESA, NRORCAEVENTO,"
               "   NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG,"
               "   VRATUAPAG, IDSTATPAG, IDORIGNFORCA)",
               "(?, ?, '01', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'A', ?)") {
  lastLaunch_ = LastLaunch(db, b.branch);
}

void Consolidator::CheckBankAccount(const Party& p, bool required) {
  if (bankAccount_.empty()) {
    if (required || p.settledCount > 0) throw Refusal("Conta corrente deve ser informada.");
    return;
  }
  const std::string company = CompanyOf(p);
  auto known = accountNumbers_.find(company);
  if (known == accountNumbers_.end()) {
    const std::optional<std::string> number = account_store::BankAccountNumber(db_, company, bankAccount_);
    if (!number) throw Refusal("Conta corrente " + bankAccount_ + " não cadastrada para a empresa " + company + ".");
    known = accountNumbers_.emplace(company, *number).first;
  }
}

std::vector<DueInstallment> Consolidator::Schedule(const Party& p, const Recorded& r, const PaymentForm& form) const {
  std::vector<DueInstallment> schedule = ScheduleAccount(r.negotiated, form, today_, p.name);
  RequireParametersFor(params_, r.values.account, p.settledCount > 0);
  return schedule;
}

void Consolidator::Consolidate(const Party& p, const Recorded& r, const PaymentForm& form) {
  const std::vector<DueInstallment> schedule = Schedule(p, r, form);
  close_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
  if (db_.changes() != 1)
    throw Refusal("O distrato do contratante " + p.name + " já foi consolidado. Operação bloqueada.");
  cancelOpen_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
  applySettled_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
  if (!r.childSeq.empty()) closeChild_.bindAll(b_.branch, b_.budget, r.childSeq, p.client, p.address).run();
  GenerateAccount(p, r, schedule);
}

void Consolidator::CloseTotalRescission(std::size_t expected) {
  // The receivables first, while their contracts are still in process.
  const std::string inProcess = OfContractsWhere(kInTotalProcess);
  db_.prepare("UPDATE CONTARECEBER SET IDSTATREC = 'C', IDSTATRECDISTRATO = COALESCE(IDSTATRECDISTRATO, IDSTATREC)"
              " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSTATREC IN ('A', 'P')" +
              inProcess)
      .bindAll(b_.branch, b_.budget)
      .run();
  db_.prepare("UPDATE CONTARECEBER SET IDBAIXAREALIZADA = 'S', IDBAIXAREALDISTRATO = IDBAIXAREALIZADA"
              " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND IDSTATREC = 'B'" +
              inProcess)
      .bindAll(b_.branch, b_.budget)
      .run();
  // Each party's row in the child budget its rescission recorded, while the
  // parties still read as in process.
  db_.prepare("UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'C' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
              "   AND IDORIGEMINCLUSAO = 'DISTRATO' AND IDCONTPROCESDIST = 'S'"
              "   AND (NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) IN ("
              "     SELECT NRSEQORCAEVEFILHO, CDCLIENTE, NRENDCLIORCEVE FROM DISTRATOPARCIAL"
              "      WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2" +
              inProcess + ")")
      .bindAll(b_.branch, b_.budget)
      .run();
  db_.prepare(std::string("UPDATE CONTRATANTE SET IDCONTPROCESDIST = 'C' WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND ") +
              kInTotalProcess)
      .bindAll(b_.branch, b_.budget)
      .run();
  if (db_.changes() != static_cast<std::int64_t>(expected))
    throw Refusal("O distrato total do orçamento " + b_.budget +
                  " foi alterado durante a consolidação. Operação bloqueada; refaça a consolidação.");
}

void Consolidator::GenerateAccount(const Party& p, const Recorded& r, const std::vector<DueInstallment>& schedule) {
  if (schedule.empty()) return;

  const std::string launch = NextLaunch();
  const std::string company = CompanyOf(p);
  const bool receivable = r.values.account == kAccountReceivable;
  auto account = accountNumbers_.find(company);
  int n = 0;
  for (const DueInstallment& row : schedule) {
    ++n;
    const std::string dueSeq = (n < 10 ? "0" : "") + std::to_string(n);
    const std::string document = "DIST " + launch.substr(launch.find_first_not_of('0')) + " 01/" + dueSeq;
    const double due = row.due.days;
    // Both values are repeated: the original and the current due date and amount.
    if (!receivable)
      payable_.add(b_.branch, launch, dueSeq, company, b_.budget, p.seq, p.client, p.address, document, due, due,
                   row.value, row.value, origin_);
    else if (account != accountNumbers_.end())
      receivable_.add(b_.branch, launch, dueSeq, company, b_.budget, p.seq, p.client, p.address, document, due, due,
                      row.value, row.value, origin_, account->second);
    else
      receivable_.add(b_.branch, launch, dueSeq, company, b_.budget, p.seq, p.client, p.address, document, due, due,
                      row.value, row.value, origin_, nullptr);
  }
}

void Consolidator::Finish() {
  receivable_.flush();
  payable_.flush();
}

std::string Consolidator::CompanyOf(const Party& p) {
  auto it = companies_.find(p.seq);
  if (it != companies_.end()) return it->second;
  company_.bindAll(b_.branch, b_.budget, p.seq);
  std::string company = company_.step() ? company_.text(0) : "";
  company_.reset();
  if (company.empty()) throw Refusal("N_PARAM_CDEMPRESAORCA");
  return companies_.emplace(p.seq, company).first->second;
}

std::string Consolidator::NextLaunch() { return LaunchText(++lastLaunch_, b_.branch); }
