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
#include "methods/consolidator.h"
#include "methods/eligibility_checks.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_reading.h"
#include "methods/rescission_store.h"
#include "methods/working_set_store.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

using namespace rescission_store;
using namespace packet_reading;

constexpr const char* kUnapproved = "Orçamento filho gerado pelo distrato não foi aprovado. Operação bloqueada.";

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

// An installment value of the packet in cents; absent or null is 0.
Cents InstallmentValue(const DataPacket& p, std::size_t row) {
  const std::optional<Cents> v = AmountAt(p, row, "VRPARCELA");
  if (!v) throw Refusal("Valor inválido em VRPARCELA.");
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
  const Cents negotiated = MoneyArg(args.vrNegociado, "ConsolidaDistrato", "o valor negociado");
  const Cents paidSeen = MoneyArg(args.valorPago, "ConsolidaDistrato", "o valor pago");
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
  consolidator.Finish();
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
  for (auto& [key, stored] : working_set_store::Confirmations(db, b)) {
    const working_set_store::Confirmation& c = stored.confirmation;
    Reviewed r;
    r.negotiated = c.negotiated;
    r.form.mode = c.mode;
    r.form.day = static_cast<int>(c.day);
    r.form.count = static_cast<int>(c.count);
    r.form.nextMonth = c.startMonth == "P";
    // Only a variable form follows the installments typed in.
    if (c.mode == "V")
      for (const working_set_store::Installment& i : stored.plan) r.form.planned.push_back({i.due, i.value});
    out.emplace(key, std::move(r));
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
  const PartyLookup parties(inProcess);
  for (std::size_t r = 0; r < sent.rowCount(); ++r) {
    std::optional<Cents> negotiated = ToCents(NumberAt(sent, r, "VRORIGREC").value_or(0.0));
    if (!negotiated) throw Refusal("Valor inválido em VRORIGREC.");
    const Party* party = parties.ofRow(sent, r);
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
  struct Ready {
    const Party* party;
    Recorded recorded;
    std::vector<DueInstallment> schedule;
  };
  std::vector<Ready> ready;
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
    ready.push_back({&p, r, consolidator.Schedule(p, r, review->second.form)});
    negotiatedTotal += r.negotiated;
  }
  // Every party checked: the rescission closes at once, then each account.
  consolidator.CloseTotalRescission(ready.size());
  for (const Ready& each : ready) consolidator.GenerateAccount(*each.party, each.recorded, each.schedule);
  consolidator.Finish();
  WriteAudit(db, {"ConsolidaDistratoTotal", args.operador, b.branch, b.budget, "",
                  std::to_string(inProcess.size()) + " contratante(s); negociado " + MoneyText(negotiatedTotal), "", "",
                  ""});

  ClearWorkingSet(db, b);
  return Variant("");
}

}  // namespace

void RegisterConsolidation(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, VdOrcaAprovado));
  d.add(Transactional(s, ConsolidaDistrato, Access::kWriteBudgetAndLaunches));
  d.add(Transactional(s, ConsolidaDistratoTotal, Access::kWriteBudgetAndLaunches));
}
