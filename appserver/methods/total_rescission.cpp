// The total rescission of a budget: every party priced at once
// (ConfValTodosCont) and every party's rescission recorded with the child
// budget that carries them (DistratoTotal). Rules in appserver/README.md,
// "Total rescission".

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "audit/audit_trail.h"
#include "data/money.h"
#include "methods/eligibility_checks.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/working_set_store.h"
#include "methods/packet_builder.h"
#include "methods/packet_reading.h"
#include "methods/rescission_store.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

using namespace rescission_store;
using namespace packet_reading;

std::string Fixed(std::string text, std::size_t size) {
  if (text.size() < size) text.append(size - text.size(), ' ');
  return text;
}

// One party's row of the contractor values packet (ContractorValuesShape).
DataPacket::Row ValuesRow(const Party& p, const RescissionValues& v, Cents negotiated, const std::string& erro,
                          const std::string& renegotiation) {
  return {Variant(FromCents(negotiated)),
          Variant(v.percent),
          Variant(FromCents(v.fine)),
          Variant(v.account),
          Variant(FromCents(v.calculated)),
          Variant(p.personType),
          Variant(p.client),
          Variant(p.registration),
          Variant(CutToChars(erro, 100)),
          Variant(p.substitute),
          Variant(p.substituteRegistration),
          Variant(p.substituteType),
          Variant(CutToChars(p.substituteName, 50)),
          Variant(1.0),
          Variant(1.0),
          Variant(std::string("A")),
          Variant(std::string("E")),
          Variant(Fixed(CutToChars(renegotiation, 25), 25)),
          Variant(CutToChars(p.name, 50)),
          Variant(Fixed(p.seq, 2)),
          Variant(p.address)};
}

// Mode "N": every party free to be rescinded, priced now. Mode "S": every
// party in a total rescission not yet consolidated, with the values it was
// recorded with. The list packet is not read: the server lists the parties
// itself, so a list loaded before another operator's change hides nothing.
Variant ConfValTodosCont(Database& db, const protocol::ConfValTodosCont& args) {
  const BudgetKey b = BudgetArgs(args);
  RequireOperator(db, args.operador);
  PacketArg(args.contratantes, "contratantes");
  const std::string mode = KeyCode(args.modo, 0);
  if (mode != "N" && mode != "S") throw Refusal("ConfValTodosCont: modo inválido \"" + args.modo + "\".");

  const std::vector<FineBand> bands = FineBands(db, b.branch);
  DataPacket packet(ContractorValuesShape());
  if (mode == "N") {
    for (const Party& p : LoadParties(db, b, PartySet::Free)) {
      const Priced priced = PriceForTotal(bands, p);
      packet.addRow(ValuesRow(p, priced.values, priced.values.calculated, priced.erro, priced.renegotiation));
    }
    if (packet.rowCount() == 0) throw Refusal("Não há contratantes a distratar no orçamento " + b.budget + ".");
  } else {
    const std::map<std::string, Recorded> recorded = RecordedForBudget(db, b);
    for (const Party& p : LoadParties(db, b, PartySet::InTotalProcess)) {
      const Recorded r = RecordedOrPriced(recorded, p, bands);
      packet.addRow(ValuesRow(p, r.values, r.negotiated, "", ""));
    }
    if (packet.rowCount() == 0)
      throw Refusal("Não há contratantes em processo de distrato total no orçamento " + b.budget + ".");
  }
  return Variant(std::move(packet));
}

// A party of the confirmed packet with the values the operator confirmed.
struct Confirmed {
  const Party* party = nullptr;  // the free contract the row names
  std::string client;
  Cents negotiated = 0;
  Cents calculated = 0;
  std::string account;
};

// An amount of the packet in cents by the money rule; absent or null is 0.
Cents ConfirmedAmount(const DataPacket& p, std::size_t row, const char* field, const std::string& client) {
  const std::optional<Cents> v = AmountAt(p, row, field);
  if (!v)
    throw Refusal("DistratoTotal: o valor " + std::string(field) + " do contratante " + client + " está fora dos limites.");
  return *v;
}

// The rows of the dialog's packet, each matched to the free contract it
// names; a row that names none is refused, a contract named twice too.
std::vector<Confirmed> ReadConfirmed(const DataPacket& sent, const std::vector<Party>& free, const BudgetKey& b) {
  if (!Has(sent, "CDCLIENTE")) throw Refusal("Pacote de contratantes sem CDCLIENTE.");
  std::vector<Confirmed> out;
  const PartyLookup parties(free);
  std::unordered_set<const Party*> named;
  for (std::size_t r = 0; r < sent.rowCount(); ++r) {
    Confirmed c;
    c.client = KeyCode(TextAt(sent, r, "CDCLIENTE"), 0);
    c.party = parties.ofRow(sent, r);
    if (!c.party)
      throw Refusal("O contratante " + c.client + " já está em processo de distrato ou não pertence ao orçamento " +
             b.budget + ". Operação bloqueada.");
    if (!named.insert(c.party).second)
      throw Refusal("Contrato " + c.party->key().label() + " repetido no distrato total.");
    c.negotiated = ConfirmedAmount(sent, r, "VRORIGREC", c.client);
    if (c.negotiated < 0) throw Refusal("N_PARAM_VRNEGATIVO");
    c.calculated = ConfirmedAmount(sent, r, "VRORIGRECNOEDIT", c.client);
    // The negotiation may forgive part of what is due or refunded, never add to it.
    if (c.negotiated > c.calculated)
      throw Refusal("O valor negociado do contratante " + c.client + " (" + CentsText(c.negotiated) +
             ") não pode ser maior que o valor calculado (" + CentsText(c.calculated) + ").");
    c.account = TextAt(sent, r, "GERACTPAGAR");
    out.push_back(c);
  }
  return out;
}

// Records the rescission of every party the operator confirmed, all or
// nothing: each party cancelled and in process, its open and planned
// receivables cancelled, its values recorded; one child budget carries the
// parties at their negotiated values and the fine product per fine. Answers
// "" on success.
Variant DistratoTotal(Database& db, const protocol::DistratoTotal& args) {
  const BudgetKey b = BudgetArgs(args);
  const std::string operador = RequireOperator(db, args.operador);
  PacketArg(args.contratantes, "contratantes");
  const DataPacket& valores = PacketArg(args.valores, "valores dos contratantes");
  if (valores.rowCount() == 0) throw Refusal("Nenhum contratante confirmado para o distrato total.");

  const std::string product = RescissionProduct(db, b.branch);
  if (SuppliersPaid(db, b)) throw Refusal("N_PARAM_CONTA_FORN");

  const std::vector<FineBand> bands = FineBands(db, b.branch);
  const std::vector<Party> free = LoadParties(db, b, PartySet::Free);
  const std::vector<Confirmed> confirmed = ReadConfirmed(valores, free, b);

  struct Row {
    const Party* party;
    Priced priced;
    Cents negotiated;
  };
  std::vector<Row> rows;
  std::set<const Party*> seen;
  // A sequence's situation is the same for each of its parties: it is asked once.
  std::set<std::string> sequencesChecked;
  for (const Confirmed& c : confirmed) {
    seen.insert(c.party);
    const Party& p = *c.party;
    if (sequencesChecked.insert(p.seq).second) RefuseIfBudgetLocked(db, b.branch, b.budget, p.seq);
    Priced priced = PriceForTotal(bands, p);
    if (!priced.erro.empty()) throw Refusal("N_PARAM_DISTRATO|" + priced.share);
    if (!priced.renegotiation.empty()) throw Refusal("N_PARAM_RENEGO_CT_ABERTA");
    if (priced.values.calculated != c.calculated || priced.values.account != c.account)
      throw Refusal("Os valores do contratante " + p.name + " foram alterados por outro operador depois do cálculo da multa"
             " (valor atual " + MoneyText(priced.values.calculated) + ", confirmado " + MoneyText(c.calculated) +
             "). Refaça o distrato.");
    rows.push_back({&p, std::move(priced), c.negotiated});
  }
  for (const Party& p : free)
    if (!seen.count(&p))
      throw Refusal("O contratante " + p.name + " entrou no orçamento depois do cálculo da multa. Refaça o distrato.");

  int guests = 0, quotas = 0;
  for (const Row& r : rows) guests += r.party->guests, quotas += r.party->quotas;
  const std::string child = NextSequence(db, b);
  WriteChildBudget(db, b, rows.front().party->seq, child, "", guests, quotas);

  // The rows are every free contract of the budget (checked above), so they
  // are cancelled with their receivables in one statement each, not one per
  // party. A count that differs means the parties changed under us.
  if (CancelFreeParties(db, b, "TOTAL") != static_cast<std::int64_t>(rows.size()))
    throw Refusal("Os contratantes do orçamento " + b.budget +
                  " mudaram durante o distrato total. Operação bloqueada; refaça o distrato.");
  RescissionRecorder rec(db, b, "TOTAL");
  int item = 0;
  Cents negotiatedTotal = 0, fineTotal = 0;
  for (const Row& r : rows) {
    const Party& p = *r.party;
    const RescissionValues& v = r.priced.values;
    rec.addToChild(child, p, r.negotiated);
    if (v.fine > 0) rec.addFine(child, ++item, product, v.fine);
    rec.record(p, child, v, r.negotiated, operador);
    negotiatedTotal += r.negotiated;
    fineTotal += v.fine;
  }
  rec.finish();
  WriteAudit(db, {"DistratoTotal", operador, b.branch, b.budget, "",
                  std::to_string(rows.size()) + " contratante(s); negociado " + MoneyText(negotiatedTotal) +
                      "; multa " + MoneyText(fineTotal),
                  "", "", ""});

  // The review that priced the rescission is over; the consolidation starts
  // its own from the recorded values.
  ClearWorkingSet(db, b);
  return Variant("");
}

}  // namespace

void RegisterTotalRescission(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, ConfValTodosCont));
  d.add(Transactional(s, DistratoTotal, Access::kWriteBudget));
}
