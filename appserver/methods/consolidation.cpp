// The consolidation of a rescission: whether its child budget is approved
// (VdOrcaAprovado) and the accounts it generates, for one party of a partial
// rescission (ConsolidaDistrato) or every party of a total one
// (ConsolidaDistratoTotal). Rules in appserver/README.md, "Consolidation".

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "audit/audit_trail.h"
#include "data/money.h"
#include "methods/consolidation_rules.h"
#include "methods/eligibility_checks.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_reading.h"
#include "methods/rescission_store.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

using namespace rescission_store;
using namespace packet_reading;

constexpr const char* kUnapproved = "Orçamento filho gerado pelo distrato não foi aprovado. Operação bloqueada.";

// The budget a call names by its `filial` and `orcamento` arguments.
template <class Call>
BudgetKey BudgetArgs(const Call& args) {
  return {KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth)};
}

// The branch parameters an account needs, refused by the key the screen
// translates.
struct AccountParameters {
  std::string operation, receivableType, payableOperation, payableType, entrySeries, settlementType;
};

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

// Generates the accounts and closes the rescission of one party after
// another, with the statements prepared once.
class Consolidator {
 public:
  Consolidator(Database& db, const BudgetKey& b, std::string origin, const std::string& bankAccount)
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
        receivable_(db.prepare(
            "INSERT INTO CONTARECEBER (CDFILIAL, NRLANCTONF, NRPARCELAREC, NRSEQVENREC, CDEMPRESA, NRORCAEVENTO,"
            "   NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENREC, DTATUAVENREC, VRORIGREC, VRATUAREC,"
            "   IDSTATREC, IDORIGNFORCA, CDCONTCORR)"
            " VALUES (?1, ?2, '01', ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?10, ?11, ?11, 'A', ?12, ?13)")),
        payable_(db.prepare(
            "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRPARCELAPAG, NRSEQVENPAG, CDEMPRESA, NRORCAEVENTO,"
            "   NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, DOCUMENTO, DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG,"
            "   IDSTATPAG, IDORIGNFORCA)"
            " VALUES (?1, ?2, '01', ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?10, ?11, ?11, 'A', ?12)")),
        company_(db.prepare(
            "SELECT COALESCE(CDEMPRESA, '') FROM ORCAEVENTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
            "   AND NRSEQORCAEVE = ?3")) {
    Statement last = db.prepare(
        "SELECT MAX(n) FROM (SELECT MAX(CAST(NRLANCTONF AS BIGINT)) AS n FROM CONTARECEBER WHERE CDFILIAL = ?1"
        "                    UNION ALL SELECT MAX(CAST(NRLANCTONF AS BIGINT)) FROM CONTAPAGAR WHERE CDFILIAL = ?1) AS launches");
    last.bind(1, b.branch);
    last.step();
    lastLaunch_ = last.isNull(0) ? 0 : last.integer(0);
  }

  DateTime today() const { return today_; }

  // Refuses a party that cannot be consolidated with this bank account:
  // one with settled receivables needs it; one given must be registered for
  // the company of the party's budget.
  void CheckBankAccount(const Party& p, bool required) {
    if (bankAccount_.empty()) {
      if (required || p.settledCount > 0) throw Refusal("Conta corrente deve ser informada.");
      return;
    }
    const std::string company = CompanyOf(p);
    auto known = accountNumbers_.find(company);
    if (known == accountNumbers_.end()) {
      Statement st = db_.prepare("SELECT CDCONTCORR FROM CONTACORRENTE WHERE CDEMPRESA = ?1 AND CDREDUCONT = ?2");
      st.bindAll(company, bankAccount_);
      if (!st.step())
        throw Refusal("Conta corrente " + bankAccount_ + " não cadastrada para a empresa " + company + ".");
      known = accountNumbers_.emplace(company, st.text(0)).first;
    }
  }

  // Generates the party's account in `form` and closes its rescission.
  void Consolidate(const Party& p, const Recorded& r, const PaymentForm& form) {
    const std::vector<DueInstallment> schedule = ScheduleAccount(r.negotiated, form, today_, p.name);
    RequireParametersFor(params_, r.values.account, p.settledCount > 0);

    close_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
    if (db_.changes() != 1)
      throw Refusal("O distrato do contratante " + p.name + " já foi consolidado. Operação bloqueada.");
    if (!r.childSeq.empty()) closeChild_.bindAll(b_.branch, b_.budget, r.childSeq, p.client, p.address).run();
    cancelOpen_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
    applySettled_.bindAll(b_.branch, b_.budget, p.seq, p.client, p.address).run();
    if (schedule.empty()) return;

    const std::string launch = NextLaunch();
    const std::string company = CompanyOf(p);
    Statement& insert = r.values.account == kAccountReceivable ? receivable_ : payable_;
    int n = 0;
    for (const DueInstallment& row : schedule) {
      ++n;
      const std::string dueSeq = (n < 10 ? "0" : "") + std::to_string(n);
      insert.bindAll(b_.branch, launch, dueSeq, company, b_.budget, p.seq, p.client, p.address,
                     "DIST " + launch.substr(launch.find_first_not_of('0')) + " 01/" + dueSeq, row.due.days, row.value,
                     origin_);
      if (&insert == &receivable_) {
        auto account = accountNumbers_.find(company);
        if (account != accountNumbers_.end()) insert.bind(13, account->second);
      }
      insert.run();
    }
  }

 private:
  std::string CompanyOf(const Party& p) {
    auto it = companies_.find(p.seq);
    if (it != companies_.end()) return it->second;
    company_.bindAll(b_.branch, b_.budget, p.seq);
    std::string company = company_.step() ? company_.text(0) : "";
    company_.reset();
    if (company.empty()) throw Refusal("N_PARAM_CDEMPRESAORCA");
    return companies_.emplace(p.seq, company).first->second;
  }

  std::string NextLaunch() {
    const std::int64_t next = ++lastLaunch_;
    if (next > 9999999999LL) throw Refusal("Numeração de lançamentos esgotada na filial " + b_.branch + ".");
    std::string text = std::to_string(next);
    return std::string(10 - text.size(), '0') + text;
  }

  Database& db_;
  BudgetKey b_;
  std::string origin_;       // IDORIGNFORCA of the generated accounts: "I" partial, "T" total
  std::string bankAccount_;  // CDREDUCONT as chosen, widened; empty when none
  AccountParameters params_;
  DateTime today_;  // the processing date: nothing falls due before it
  std::int64_t lastLaunch_ = 0;                        // highest NRLANCTONF of the branch
  std::map<std::string, std::string> companies_;       // sequence -> CDEMPRESA
  std::map<std::string, std::string> accountNumbers_;  // company -> CDCONTCORR of the chosen account
  Statement close_, closeChild_, cancelOpen_, applySettled_, receivable_, payable_, company_;
};

// --- VdOrcaAprovado ---------------------------------------------------------

// True when the child budget of the rescission is not approved: the party's
// (client given) or any of the budget's total rescission (client empty).
Variant VdOrcaAprovado(Database& db, const protocol::VdOrcaAprovado& args) {
  const BudgetKey b = BudgetArgs(args);
  const std::string client = KeyCode(args.CDCLIENTE, 0);
  std::string seq;
  if (std::optional<std::string> named = SequenceArg(args.NRSEQORCAEVE)) seq = KeyCode(*named, kSequenceWidth);
  return ChildBudgetUnapproved(db, b, seq, client);
}

// --- ConsolidaDistrato ------------------------------------------------------

Cents MoneyArg(const Variant& value, const std::string& what) {
  double number = 0;
  try {
    if (value.isNull() || value.isArray() || value.isPacket()) throw std::runtime_error("");
    number = value.asDouble();
  } catch (const std::exception&) {
    throw Refusal("ConsolidaDistrato: " + what + " informado não é um número válido.");
  }
  std::optional<Cents> cents = ToCents(number);
  if (!cents || *cents > kMaxAmountCents || *cents < -kMaxAmountCents)
    throw Refusal("ConsolidaDistrato: " + what + " informado está fora dos limites.");
  return *cents;
}

// An installment value of the packet in cents; absent or null is 0.
Cents InstallmentValue(const DataPacket& p, std::size_t row) {
  std::optional<Cents> v = ToCents(NumberAt(p, row, "VRPARCELA").value_or(0.0));
  if (!v || *v > kMaxAmountCents || *v < -kMaxAmountCents) throw Refusal("Valor inválido em VRPARCELA.");
  return *v;
}

// The payment form the values dialog returns: its rows' one mode code, the
// fixed-day row, or the installments of a variable plan.
PaymentForm FormFromDialog(const Variant& sent, const std::string& client) {
  PaymentForm form;
  if (sent.isNull()) return form;
  const DataPacket& p = PacketArg(sent, "forma de pagamento");
  std::optional<std::size_t> modeRow;
  for (std::size_t r = 0; r < p.rowCount(); ++r) {
    const std::string mode = TextAt(p, r, "IDTPFORMAPGTO");
    if (mode.empty()) continue;
    if (modeRow && mode != form.mode) throw Refusal("Forma de pagamento inconsistente para o contratante " + client + ".");
    form.mode = mode;
    modeRow = r;
  }
  if (p.rowCount() > 0 && !modeRow) throw Refusal("Forma de pagamento não informada para o contratante " + client + ".");
  if (form.mode == "F") {
    form.day = WholeAt(p, *modeRow, "NRDIAPGTOFIXO").value_or(0);
    form.count = WholeAt(p, *modeRow, "NRPARCELAS").value_or(0);
    form.nextMonth = TextAt(p, *modeRow, "IDMESINIPGTO") == "P";
  } else if (form.mode == "V") {
    for (std::size_t r = 0; r < p.rowCount(); ++r) {
      if (!Has(p, "DTVENCPARCELA") || p.at(r, "DTVENCPARCELA").isNull())
        throw Refusal("Data de vencimento deve ser informada.");
      form.planned.push_back({p.at(r, "DTVENCPARCELA").asDate(), InstallmentValue(p, r)});
    }
  }
  return form;
}

// Consolidates one party of a partial rescission with the payment form and
// values the operator confirmed in the values dialog. Answers "".
Variant ConsolidaDistrato(Database& db, const protocol::ConsolidaDistrato& args) {
  const BudgetKey b = BudgetArgs(args);
  const std::string client = KeyCode(args.CDCLIENTE, 0);
  const std::string address = KeyCode(args.NRENDCLIORCEVE, 0);
  const std::string seq = PartySequence(db, b, args.NRSEQORCAEVE, client, address);
  const Cents negotiated = MoneyArg(args.vrNegociado, "o valor negociado");
  const Cents paidSeen = MoneyArg(args.valorPago, "o valor pago");
  const std::string account = KeyCode(args.GERACTPAGAR, 0);
  RequireOperator(db, args.operador);

  std::optional<Party> found = LoadParty(db, b, seq, client, address);
  if (!found) throw Refusal("Contratante " + client + " não encontrado no orçamento " + b.budget + ".");
  const Party& p = *found;
  RefuseIfBudgetLocked(db, b.branch, b.budget, p.seq);
  if (p.process == "C") throw Refusal("O distrato do contratante " + p.name + " já foi consolidado. Operação bloqueada.");
  if (p.process != "S" || p.situation != "CANCELADO")
    throw Refusal("O contratante " + p.name + " não está em processo de distrato. Operação bloqueada.");
  if (p.type == "TOTAL")
    throw Refusal("O contratante " + p.name + " está em processo de distrato total: consolide o distrato total.");
  if (ChildBudgetUnapproved(db, b, p.seq, p.client)) throw Refusal(kUnapproved);

  const Recorded r = RecordedOrPriced(RecordedForBudget(db, b), p, FineBands(db, b.branch));
  if (p.paid != r.values.paid || p.paid != paidSeen)
    throw Refusal("Os valores do contratante " + p.name + " foram alterados por outro operador (valor pago atual " +
           MoneyText(p.paid) + ", conferido " + MoneyText(paidSeen) + "). Operação bloqueada.");
  if (negotiated != r.negotiated)
    throw Refusal("O valor negociado informado (" + MoneyText(negotiated) + ") difere do valor registrado no distrato (" +
           MoneyText(r.negotiated) + ").");
  if (account != r.values.account)
    throw Refusal("O tipo de conta informado (" + account + ") difere do registrado no distrato (" + r.values.account + ").");
  const Variant& formSent = args.formaPgto;
  if (formSent.isNull() && r.negotiated > 0)
    throw Refusal("Forma de pagamento não informada para o contratante " + p.name + ".");

  Consolidator consolidator(db, b, "I", args.contaCorrente);
  consolidator.CheckBankAccount(p, false);
  consolidator.Consolidate(p, r, FormFromDialog(formSent, p.name));
  WriteAudit(db, {"ConsolidaDistrato", args.operador, b.branch, b.budget, p.client,
                  "negociado " + MoneyText(r.negotiated) + "; " + r.values.account, "", p.seq,
                  p.address});
  return Variant("");
}

// --- ConsolidaDistratoTotal -------------------------------------------------

// A party's row of the contractor-values working set and its installments.
struct Reviewed {
  Cents negotiated = 0;
  PaymentForm form;
};

std::map<std::string, Reviewed> WorkingSet(Database& db, const BudgetKey& b) {
  std::map<std::string, Reviewed> out;
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE || '|' || CDCLIENTE || '|' || NRENDCLIORCEVE, VRORIGREC, IDTPFORMAPGTO, NRDIAPGTOFIXO,"
      "       NRPARCELAS, IDMESINIPGTO FROM CONTRATDISTRATO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  while (st.step()) {
    Reviewed r;
    r.negotiated = st.integer(1);
    r.form.mode = st.text(2);
    r.form.day = static_cast<int>(st.real(3));
    r.form.count = static_cast<int>(st.real(4));
    r.form.nextMonth = st.text(5) == "P";
    out.emplace(st.text(0), std::move(r));
  }
  Statement plan = db.prepare(
      "SELECT NRSEQORCAEVE || '|' || CDCLIENTE || '|' || NRENDCLIORCEVE, DTVENCIMENTO, VRPARCELA FROM FORMAPGTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA");
  plan.bindAll(b.branch, b.budget);
  while (plan.step()) {
    auto it = out.find(plan.text(0));
    if (it != out.end() && it->second.form.mode == "V")
      it->second.form.planned.push_back({DateTime{plan.real(1)}, plan.integer(2)});
  }
  return out;
}

// Consolidates every party of the budget's total rescission, all or none,
// with the payment forms stored by the contractor values dialog. Answers "".
Variant ConsolidaDistratoTotal(Database& db, const protocol::ConsolidaDistratoTotal& args) {
  const BudgetKey b = BudgetArgs(args);
  RequireOperator(db, args.operador);
  const DataPacket& sent = PacketArg(args.contratantes, "contratantes");
  if (sent.rowCount() > 0 && !Has(sent, "CDCLIENTE")) throw Refusal("Pacote de contratantes sem CDCLIENTE.");

  const std::vector<Party> inProcess = LoadParties(db, b, PartySet::InTotalProcess);
  if (inProcess.empty())
    throw Refusal("Não há contratantes em processo de distrato total no orçamento " + b.budget +
           ": o distrato total já foi consolidado.");
  if (ChildBudgetUnapproved(db, b, "", "")) throw Refusal(kUnapproved);

  struct SentRow {
    Cents negotiated;
    std::string mode;
  };
  // Each row of the packet names a contract in the rescission, by its whole
  // key (or by its client when the client has one contract there).
  std::map<std::string, SentRow> confirmed;
  for (std::size_t r = 0; r < sent.rowCount(); ++r) {
    std::optional<Cents> negotiated = ToCents(NumberAt(sent, r, "VRORIGREC").value_or(0.0));
    if (!negotiated) throw Refusal("Valor inválido em VRORIGREC.");
    const Party* party = PartyOfRow(inProcess, sent, r);
    if (!party)
      throw Refusal("O contratante " + KeyCode(TextAt(sent, r, "CDCLIENTE"), 0) +
             " não está em processo de distrato total: seu distrato já foi consolidado ou desfeito. Operação"
             " bloqueada.");
    confirmed[RecordKey(*party)] = {*negotiated, TextAt(sent, r, "IDTPFORMAPGTO")};
  }

  const std::map<std::string, Recorded> recorded = RecordedForBudget(db, b);
  const std::vector<FineBand> bands = FineBands(db, b.branch);
  const std::map<std::string, Reviewed> reviewed = WorkingSet(db, b);
  Consolidator consolidator(db, b, "T", args.contaCorrente);
  Cents negotiatedTotal = 0;
  for (const Party& p : inProcess) {
    auto sentRow = confirmed.find(RecordKey(p));
    if (sentRow == confirmed.end())
      throw Refusal("O contratante " + p.name + " entrou em processo de distrato total depois da conferência dos valores."
             " Refaça a consolidação.");
    const Recorded r = RecordedOrPriced(recorded, p, bands);
    if (p.paid != r.values.paid)
      throw Refusal("Os valores do contratante " + p.name + " foram alterados por outro operador depois do distrato (valor"
             " pago atual " + MoneyText(p.paid) + ", registrado " + MoneyText(r.values.paid) + "). Operação bloqueada.");
    auto review = reviewed.find(RecordKey(p));
    if (review == reviewed.end())
      throw Refusal("Os valores do contratante " + p.name + " não foram conferidos. Refaça a consolidação.");
    if (sentRow->second.negotiated != r.negotiated || review->second.negotiated != r.negotiated)
      throw Refusal("O valor negociado do contratante " + p.name + " difere do valor registrado no distrato (" +
             MoneyText(r.negotiated) + ").");
    if (sentRow->second.mode != review->second.form.mode)
      throw Refusal("A forma de pagamento do contratante " + p.name + " não foi confirmada.");
    consolidator.CheckBankAccount(p, true);
    consolidator.Consolidate(p, r, review->second.form);
    negotiatedTotal += r.negotiated;
  }
  WriteAudit(db, {"ConsolidaDistratoTotal", args.operador, b.branch, b.budget, "",
                  std::to_string(inProcess.size()) + " contratante(s); negociado " + MoneyText(negotiatedTotal), "", "",
                  ""});

  Statement plans = db.prepare("DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  plans.bindAll(b.branch, b.budget).run();
  Statement working = db.prepare("DELETE FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  working.bindAll(b.branch, b.budget).run();
  return Variant("");
}

}  // namespace

void RegisterConsolidation(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, VdOrcaAprovado));
  d.add(Transactional(s, ConsolidaDistrato, Access::kWriteBudgetAndLaunches));
  d.add(Transactional(s, ConsolidaDistratoTotal, Access::kWriteBudgetAndLaunches));
}
