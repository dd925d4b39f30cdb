// The contractor-values working set of a total rescission under review: the
// values and payment form of every party of a budget (CONTRATDISTRATO) and
// each party's installments (FORMAPGTO), stored per branch, budget and party
// while the review lasts. The rules are in the README, "Contractor values".
// The rows live in working_set_store; the packets are read by
// contractor_values_packets.

#include <map>
#include <optional>
#include <vector>

#include "audit/audit_trail.h"
#include "methods/contractor_values_packets.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_reading.h"
#include "methods/party_key.h"
#include "methods/rescission_store.h"
#include "methods/working_set_store.h"
#include "session/caller_session.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

using namespace packet_reading;
using namespace contractor_packets;
using namespace working_set_store;

// --- who read what ------------------------------------------------------------
//
// Two operators may review the same budget at once. Each connection keeps a
// stamp of every party as it last read it; a change to a party whose stored
// values (or plan) differ from that stamp is refused, so one operator's
// confirmation never silently overwrites another's. Calls made in-process,
// outside any connection, are not checked.

std::string ReadScope(const BudgetKey& b) { return "CONTRATDISTRATO|" + b.branch + "|" + b.budget; }

// The caller now holds the budget's working set as stored.
void RememberRead(Database& db, const BudgetKey& b, CallerSession& caller) {
  caller.rememberReads(ReadScope(b), ReadStamps(db, b));
}

// Refuses a change to a party that is no longer as the caller read it.
void RequireUnchangedSinceRead(const PartyStamps& now, const BudgetKey& b, const PartyKey& party,
                               const CallerSession& caller) {
  const std::string client = party.label();
  const std::optional<std::string_view> stored = now.find(party.text());
  const std::optional<std::string> read = caller.lastRead(ReadScope(b), party.text());
  // A connection made again (the server closes idle ones) has read nothing yet.
  if (!read)
    throw Refusal("Os valores do contratante " + client +
                             " não foram lidos nesta conexão com o servidor. Abra novamente os valores dos "
                             "contratantes e refaça a confirmação.");
  if (!stored || *read != *stored)
    throw Refusal("Os valores do contratante " + client +
                             " foram alterados por outro operador depois de lidos. Abra novamente os valores dos "
                             "contratantes e refaça a confirmação.");
}

// --- the parties a review may hold -------------------------------------------

// The stored values of a contract of the review; refuses one not there.
StoredValues RequireStored(Database& db, const BudgetKey& b, const PartyKey& k) {
  std::optional<StoredValues> stored = ValuesOf(db, b, k);
  if (!stored) NotAParty(k.label());
  return *stored;
}

// The contract GetFormaPgto and DeletaFormaPgto name: the client, with the
// optional sequence and address a client of several contracts needs.
template <class Call>
std::optional<PartyKey> NamedParty(Database& db, const BudgetKey& b, const Call& args) {
  const std::string seq = args.sequencia.empty() ? "" : KeyCode(args.sequencia, kSequenceWidth);
  const std::string client = KeyCode(args.cliente, 0);
  return FindParty(ReviewedContractsOf(db, b, client), client, seq, KeyCode(args.endereco, 0), false);
}

bool SameInstallments(const std::vector<Installment>& a, const std::vector<Installment>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].value != b[i].value || a[i].due.days != b[i].due.days) return false;
  return true;
}

// --- the methods -----------------------------------------------------------

// Starts (or resumes) the review: parties new to the working set are stored
// as sent; for parties already there the computed columns are refreshed and
// what the user confirmed (negotiated value, payment form, plan) is kept.
// Parties no longer sent leave the working set with their plans.
Variant InsContratDistrato(Database& db, protocol::InsContratDistrato& args, CallerSession& caller) {
  BudgetKey b = BudgetArgs(args);
  const DataPacket& sent = PacketArg(args.contratantes, "contratantes");
  if (!Has(sent, "CDCLIENTE")) throw Refusal("Pacote de contratantes sem CDCLIENTE.");

  // The budget's contracts read once: a whole budget is reviewed at once, and
  // a look-up per party would read the budget once per party. A row that
  // names only the client takes its one contract.
  std::vector<ReviewedContract> contracts;
  for (PartyKey& k : rescission_store::BudgetContracts(db, b)) contracts.push_back({std::move(k), ""});
  const ContractLookup lookup(contracts);
  const PartyRows rows(sent);
  ReviewRefresh refresh(db, b, rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const PartyKey key = rows.party(lookup, r);
    refresh.keep(key, rows.computed(r, key));
  }
  refresh.finish();

  Variant stored(refresh.takeParties());
  args.contratantes = stored;
  // The caller now holds the working set as the refresh left it.
  caller.rememberReads(ReadScope(b), refresh.takeStamps());
  WriteAudit(db, {"InsContratDistrato", caller.operatorCode(), b.branch, b.budget, "",
                  std::to_string(stored.asPacket().rowCount()) + " contratante(s) em conferência", "", "", ""});
  return stored;
}

// A retry of InsContratDistrato whose first run was applied: the review was
// refreshed to what the retry sends again, so it answers the working set as
// it stands and changes nothing. Recording a whole budget's parties with
// every opening, for the rare retry, cost more than the opening itself.
Variant InsContratDistratoAgain(Database& db, protocol::InsContratDistrato& args, CallerSession& caller) {
  const BudgetKey b = BudgetArgs(args);
  Variant stored(PartiesPacket(db, b));
  args.contratantes = stored;
  RememberRead(db, b, caller);
  return stored;
}

Variant GetContratDistrato(Database& db, const protocol::GetContratDistrato& args, CallerSession& caller) {
  const BudgetKey b = BudgetArgs(args);
  RememberRead(db, b, caller);
  return Variant(PartiesPacket(db, b));
}

Variant GetFormaPgto(Database& db, const protocol::GetFormaPgto& args) {
  const BudgetKey b = BudgetArgs(args);
  return Variant(PlanPacket(db, b, NamedParty(db, b, args)));
}

Variant DeletaFormaPgto(Database& db, const protocol::DeletaFormaPgto& args, CallerSession& caller) {
  BudgetKey b = BudgetArgs(args);
  const std::optional<PartyKey> party = NamedParty(db, b, args);
  if (!party) return Variant(PlanPacket(db, b, party));
  RequireUnchangedSinceRead(ReadStamps(db, b, *party), b, *party, caller);
  const std::int64_t deleted = DeletePlan(db, b, *party);
  // The caller's own change is what it now holds of this party.
  caller.rememberRead(ReadScope(b), party->text(), ReadStamps(db, b, *party).find(party->text()).value_or(""));
  // Nothing deleted, nothing changed: the trail records changes only.
  if (deleted > 0)
    WriteAudit(db, {"DeletaFormaPgto", caller.operatorCode(), b.branch, b.budget, party->client,
                    std::to_string(deleted) + " parcela(s) excluída(s)", "", party->seq, party->address});
  return Variant(PlanPacket(db, b, party));
}

// Stores the confirmed parties and the plan sent with them in one
// transaction: any refusal leaves the working set as it was. Everything is
// checked before the first write.
Variant SetConfirmar(Database& db, const protocol::SetConfirmar& args, CallerSession& caller) {
  BudgetKey b = BudgetArgs(args);
  const DataPacket& parties = PacketArg(args.contratantes, "contratantes");
  const DataPacket& plan = PacketArg(args.parcelas, "parcelas");
  if (parties.rowCount() > 0 && !Has(parties, "CDCLIENTE"))
    throw Refusal("Pacote de contratantes sem CDCLIENTE.");

  const std::vector<ReviewedContract> set = ReviewedContracts(db, b);
  std::map<PartyKey, std::vector<Installment>> plans =
      PlansIn(b, set, plan, rescission_store::ProcessingDate(db, b.branch));
  const PartyStamps stampsNow = ReadStamps(db, b);

  struct Change {
    PartyKey party;
    Confirmation confirmed;
  };
  std::vector<Change> changes;
  std::map<PartyKey, std::string> modeAfter;  // parties sent: the mode they end with
  const ContractLookup lookup(set);
  const PartyRows confirmed(parties);
  for (std::size_t r = 0; r < confirmed.size(); ++r) {
    const PartyKey party = confirmed.party(lookup, r);
    Confirmation c = confirmed.confirmation(r, party);
    const StoredValues stored = RequireStored(db, b, party);
    if (c.negotiated > stored.calculated) RefuseAboveCalculated(party.label(), c.negotiated, stored.calculated);
    modeAfter[party] = c.mode;
    changes.push_back({party, c});
  }

  // A party leaving the variable mode loses its installments. The dialog
  // sends back the plan it loaded with the new mode; those rows, exactly as
  // stored, go with the mode rather than being refused.
  for (auto it = plans.begin(); it != plans.end();) {
    auto sent = modeAfter.find(it->first);
    const bool leavesVariable = sent != modeAfter.end() && sent->second != "V";
    if (leavesVariable && SameInstallments(it->second, InstallmentsOf(db, b, it->first)))
      it = plans.erase(it);
    else
      ++it;
  }
  for (const auto& [party, rows] : plans) RequireUnchangedSinceRead(stampsNow, b, party, caller);
  for (const Change& change : changes) RequireUnchangedSinceRead(stampsNow, b, change.party, caller);

  // The mode and the installments agree: none for "E" or "F", at least one
  // for "V" (sent now or already stored).
  for (const auto& [party, rows] : plans) {
    auto sent = modeAfter.find(party);
    const std::string mode = sent != modeAfter.end() ? sent->second : RequireStored(db, b, party).mode;
    if (mode != "V")
      throw Refusal("O contratante " + party.label() +
                               " não tem forma de pagamento variável: parcelas não podem ser informadas.");
  }
  for (const auto& [party, mode] : modeAfter)
    if (mode == "V" && !plans.count(party) && InstallmentsOf(db, b, party).empty())
      throw Refusal("O contratante " + party.label() +
                               " tem forma de pagamento variável: pelo menos uma parcela deve ser informada.");

  // The plan of a variable party sums to its negotiated value, to the cent:
  // the plan sent, or the stored one kept under a changed negotiated value.
  auto negotiatedOf = [&](const PartyKey& party) -> std::optional<Cents> {
    for (const Change& change : changes)
      if (change.party == party) return change.confirmed.negotiated;
    return std::nullopt;
  };
  auto requireSum = [&](const PartyKey& party, const std::vector<Installment>& rows, Cents negotiated) {
    Cents sum = 0;
    for (const Installment& row : rows) sum += row.value;
    if (sum != negotiated)
      throw Refusal("A soma das parcelas difere do valor negociado do contratante " + party.label() + ".");
  };
  for (const auto& [party, rows] : plans) {
    const std::optional<Cents> negotiated = negotiatedOf(party);
    requireSum(party, rows, negotiated ? *negotiated : RequireStored(db, b, party).negotiated);
  }
  for (const Change& change : changes)
    if (change.confirmed.mode == "V" && !plans.count(change.party))
      requireSum(change.party, InstallmentsOf(db, b, change.party), change.confirmed.negotiated);

  for (const Change& change : changes) {
    StoreConfirmation(db, b, change.party, change.confirmed);
    // Leaving the variable mode leaves its installments behind.
    if (change.confirmed.mode != "V") DeletePlan(db, b, change.party);
  }
  for (const auto& [party, rows] : plans) ReplacePlan(db, b, party, rows);
  RememberRead(db, b, caller);
  for (const Change& change : changes)
    WriteAudit(db, {"SetConfirmar", caller.operatorCode(), b.branch, b.budget, change.party.client,
                    "negociado " + rescission_store::MoneyText(change.confirmed.negotiated) + "; forma " +
                        change.confirmed.mode,
                    "", change.party.seq, change.party.address});
  return Variant(PartiesPacket(db, b));
}

}  // namespace

void RegisterContractorValues(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, InsContratDistrato, Access::kWriteBudget, InsContratDistratoAgain));
  d.add(Transactional(s, GetContratDistrato));
  d.add(Transactional(s, GetFormaPgto));
  d.add(Transactional(s, DeletaFormaPgto, Access::kWriteBudget));
  d.add(Transactional(s, SetConfirmar, Access::kWriteBudget));
}
