// The contractor-values working set of a total rescission under review: the
// values and payment form of every party of a budget (CONTRATDISTRATO) and
// each party's installments (FORMAPGTO), stored per branch, budget and party
// while the review lasts. The rules are in the README, "Contractor values".

#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>

#include "audit/audit_trail.h"
#include "data/formats.h"
#include "data/money.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_reading.h"
#include "methods/party_key.h"
#include "methods/rescission_store.h"
#include "methods/packet_builder.h"
#include "session/caller_session.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

namespace {

using namespace packet_reading;

using S = FieldType;

const PacketShape& PaymentPlanShape() {
  static const PacketShape shape{
      {"DTVENCIMENTO", S::DateTime, 0}, {"CDFILIAL", S::String, 4},  {"NRORCAEVENTO", S::String, 10},
      {"CDCLIENTE", S::String, 21},     {"VRPARCELA", S::Float, 0},
      // The contract the installment belongs to; callers that know only the
      // client may leave them out.
      {"NRSEQORCAEVE", S::FixedString, 2}, {"NRENDCLIORCEVE", S::String, 10},
  };
  return shape;
}

DataPacket StoredParties(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT AMOUNT(d.VRORIGREC), d.VRPERCMULTA, AMOUNT(d.VRMULTA), d.GERACTPAGAR, AMOUNT(d.VRORIGRECNOEDIT),"
      "       c.IDTPIJURCLIE,"
      "       d.CDCLIENTE, c.NRINSJURCLIE, d.ERRO, p.CDCLICONTSUBORE, s.NRINSJURCLIE, s.IDTPIJURCLIE,"
      "       s.NMFANTCLIE, d.NRDIAPGTOFIXO, d.NRPARCELAS, d.IDMESINIPGTO, d.IDTPFORMAPGTO,"
      "       d.ERRORENEGFIN, c.NMFANTCLIE, d.NRSEQORCAEVE, d.NRENDCLIORCEVE"
      "  FROM CONTRATDISTRATO d"
      "  LEFT JOIN CLIENTE c ON c.CDCLIENTE = d.CDCLIENTE"
      "  LEFT JOIN CONTRATANTE p ON p.CDFILIAL = d.CDFILIAL AND p.NRORCAEVENTO = d.NRORCAEVENTO"
      "                         AND p.NRSEQORCAEVE = d.NRSEQORCAEVE AND p.CDCLIENTE = d.CDCLIENTE"
      "                         AND p.NRENDCLIORCEVE = d.NRENDCLIORCEVE"
      "  LEFT JOIN CLIENTE s ON s.CDCLIENTE = p.CDCLICONTSUBORE"
      " WHERE d.CDFILIAL = ?1 AND d.NRORCAEVENTO = ?2"
      " ORDER BY d.NRSEQORCAEVE, c.NMFANTCLIE, d.CDCLIENTE, d.NRENDCLIORCEVE");
  st.bindAll(b.branch, b.budget);
  return QueryPacket(st, ContractorValuesShape());
}

// The installments of one contract; `party` empty answers the empty plan.
DataPacket StoredPlan(Database& db, const BudgetKey& b, const std::optional<PartyKey>& party) {
  Statement st = db.prepare(
      "SELECT DTVENCIMENTO, CDFILIAL, NRORCAEVENTO, CDCLIENTE, AMOUNT(VRPARCELA), NRSEQORCAEVE, NRENDCLIORCEVE"
      "  FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
      "   AND NRENDCLIORCEVE = ?5 ORDER BY NRPARCELA");
  const PartyKey none{"", "", ""};
  const PartyKey& k = party ? *party : none;
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  return QueryPacket(st, PaymentPlanShape());
}

// Deletes a contract's installments; answers how many there were.
std::int64_t DeletePlan(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(
      "DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4"
      "   AND NRENDCLIORCEVE = ?5");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  st.run();
  return db.changes();
}

// --- who read what ------------------------------------------------------------
//
// Two operators may review the same budget at once. Each connection keeps a
// stamp of every party as it last read it; a change to a party whose stored
// values (or plan) differ from that stamp is refused, so one operator's
// confirmation never silently overwrites another's. Calls made in-process,
// outside any connection, are not checked.

std::string ReadScope(const BudgetKey& b) { return "CONTRATDISTRATO|" + b.branch + "|" + b.budget; }

// Every party of the budget's working set with a stamp of what the dialog
// shows and confirms: its values, payment form and installments.
std::map<std::string, std::string> PartyStamps(Database& db, const BudgetKey& b) {
  std::map<std::string, std::string> stamps;
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE || '|' || CDCLIENTE || '|' || NRENDCLIORCEVE, VRORIGRECNOEDIT || '|' || VRORIGREC || '|' || VRPERCMULTA || '|' || VRMULTA || '|' ||"
      "       GERACTPAGAR || '|' || ERRO || '|' || ERRORENEGFIN || '|' || IDTPFORMAPGTO || '|' ||"
      "       NRDIAPGTOFIXO || '|' || NRPARCELAS || '|' || IDMESINIPGTO"
      "  FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  while (st.step()) stamps[st.text(0)] = st.text(1);
  Statement plan = db.prepare(
      "SELECT NRSEQORCAEVE || '|' || CDCLIENTE || '|' || NRENDCLIORCEVE,"
      "       NRPARCELA || ':' || DTVENCIMENTO || ':' || VRPARCELA FROM FORMAPGTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA");
  plan.bindAll(b.branch, b.budget);
  while (plan.step()) {
    auto it = stamps.find(plan.text(0));
    if (it != stamps.end()) it->second += ";" + plan.text(1);
  }
  return stamps;
}

// The caller now holds the budget's working set as stored.
void RememberRead(Database& db, const BudgetKey& b, CallerSession& caller) {
  caller.rememberReads(ReadScope(b), PartyStamps(db, b));
}

// Refuses a change to a party that is no longer as the caller read it.
void RequireUnchangedSinceRead(const std::map<std::string, std::string>& now, const BudgetKey& b,
                               const PartyKey& party, const CallerSession& caller) {
  const std::string client = party.label();
  auto stored = now.find(party.text());
  const std::optional<std::string> read = caller.lastRead(ReadScope(b), party.text());
  // A connection made again (the server closes idle ones) has read nothing yet.
  if (!read)
    throw Refusal("Os valores do contratante " + client +
                             " não foram lidos nesta conexão com o servidor. Abra novamente os valores dos "
                             "contratantes e refaça a confirmação.");
  if (stored == now.end() || *read != stored->second)
    throw Refusal("Os valores do contratante " + client +
                             " foram alterados por outro operador depois de lidos. Abra novamente os valores dos "
                             "contratantes e refaça a confirmação.");
}

// --- reading a packet the client sent -------------------------------------

// An amount of the packet in cents by the money rule, from 0 to the largest
// amount; an absent or null one is 0.
Cents Amount(const DataPacket& p, std::size_t row, const char* field, const std::string& client) {
  const std::optional<Cents> v = AmountAt(p, row, field);
  if (!v || *v < 0)
    throw Refusal(std::string("Valor inválido em ") + field + " do contratante " + client + ".");
  return *v;
}

// A party's code as every method stores it.
std::string ClientAt(const DataPacket& p, std::size_t row) { return KeyCode(TextAt(p, row, "CDCLIENTE"), 0); }

[[noreturn]] void NotAParty(const std::string& client) {
  throw Refusal("Contratante " + client + " não pertence ao distrato deste orçamento.");
}

// The contracts of the working set, with the substitute each records.
struct Reviewing {
  PartyKey key;
  std::string substitute;
};

std::vector<Reviewing> WorkingSetParties(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(
      "SELECT d.NRSEQORCAEVE, d.CDCLIENTE, d.NRENDCLIORCEVE, COALESCE(p.CDCLICONTSUBORE, '') FROM CONTRATDISTRATO d"
      "  LEFT JOIN CONTRATANTE p ON p.CDFILIAL = d.CDFILIAL AND p.NRORCAEVENTO = d.NRORCAEVENTO"
      "                         AND p.NRSEQORCAEVE = d.NRSEQORCAEVE AND p.CDCLIENTE = d.CDCLIENTE"
      "                         AND p.NRENDCLIORCEVE = d.NRENDCLIORCEVE"
      " WHERE d.CDFILIAL = ?1 AND d.NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  std::vector<Reviewing> out;
  while (st.step()) out.push_back({{st.text(0), st.text(1), st.text(2)}, st.text(3)});
  return out;
}

// The contract of the working set a caller names: by its whole key, or, for a
// caller that sends only a code, the one contract of that client (or of the
// client it records as substitute, when `bySubstitute`). A client with several
// contracts must be named by the whole key.
std::optional<PartyKey> FindParty(const std::vector<Reviewing>& set, const std::string& code, const std::string& seq,
                                  const std::string& address, bool bySubstitute) {
  std::vector<PartyKey> found;
  for (const Reviewing& r : set) {
    const bool named = r.key.client == code || (bySubstitute && !r.substitute.empty() && r.substitute == code);
    if (!named) continue;
    if (!seq.empty() && r.key.seq != seq) continue;
    if (!address.empty() && r.key.address != address) continue;
    found.push_back(r.key);
  }
  // The party's own code wins over a substitute code that names another.
  if (found.size() > 1)
    std::erase_if(found, [&](const PartyKey& k) { return k.client != code; });
  if (found.empty()) return std::nullopt;
  if (found.size() > 1)
    throw Refusal("O cliente " + code + " tem mais de um contrato neste orçamento: informe a sequência"
                             " (NRSEQORCAEVE) e o endereço (NRENDCLIORCEVE) do contrato.");
  return found.front();
}

// The key fields a packet row may carry; empty when the packet lacks them.
std::string SeqAt(const DataPacket& p, std::size_t row) {
  const std::string seq = TextAt(p, row, "NRSEQORCAEVE");
  return seq.empty() ? "" : KeyCode(seq, kSequenceWidth);
}
std::string AddressAt(const DataPacket& p, std::size_t row) { return KeyCode(TextAt(p, row, "NRENDCLIORCEVE"), 0); }

// The contract a packet row of parties names; refuses one not in the review.
PartyKey PartyAt(const std::vector<Reviewing>& set, const DataPacket& p, std::size_t row) {
  const std::string client = ClientAt(p, row);
  std::optional<PartyKey> key = FindParty(set, client, SeqAt(p, row), AddressAt(p, row), false);
  if (!key) NotAParty(client);
  return *key;
}

// A negotiation lowers what is refunded or charged, never raises it.
[[noreturn]] void RefuseAboveCalculated(const std::string& client, Cents negotiated, Cents calculated) {
  throw Refusal("O valor negociado do contratante " + client + " (" + CentsText(negotiated) +
                           ") não pode ser maior que o valor calculado (" + CentsText(calculated) + ").");
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
  std::vector<Reviewing> contracts;
  {
    Statement st = db.prepare(
        "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
        "   AND IDORIGEMINCLUSAO <> 'DISTRATO'");
    st.bindAll(b.branch, b.budget);
    while (st.step()) contracts.push_back({{st.text(0), st.text(1), st.text(2)}, ""});
  }

  db.prepare("CREATE TEMP TABLE IF NOT EXISTS SENTCONTRACT (NRSEQORCAEVE TEXT, CDCLIENTE TEXT, NRENDCLIORCEVE TEXT,"
             " PRIMARY KEY (NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE))")
      .run();
  db.prepare("DELETE FROM SENTCONTRACT").run();
  Statement mark = db.prepare(
      "INSERT INTO SENTCONTRACT (NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) VALUES (?1, ?2, ?3) ON CONFLICT DO NOTHING");
  Statement store = db.prepare(
      "INSERT INTO CONTRATDISTRATO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE,"
      "   VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, ERRO, ERRORENEGFIN)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"
      " ON CONFLICT (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) DO UPDATE SET"
      "   VRORIGRECNOEDIT = excluded.VRORIGRECNOEDIT, VRPERCMULTA = excluded.VRPERCMULTA,"
      "   VRMULTA = excluded.VRMULTA, GERACTPAGAR = excluded.GERACTPAGAR, ERRO = excluded.ERRO,"
      "   ERRORENEGFIN = excluded.ERRORENEGFIN");
  for (std::size_t r = 0; r < sent.rowCount(); ++r) {
    const PartyKey key = PartyAt(contracts, sent, r);
    const std::string client = key.label();
    mark.bindAll(key.seq, key.client, key.address).run();

    std::string account = TextAt(sent, r, "GERACTPAGAR");
    if (account.empty()) account = "CNTRECEBER";
    const Cents calculated = Amount(sent, r, "VRORIGRECNOEDIT", client);
    const Cents negotiated = Has(sent, "VRORIGREC") ? Amount(sent, r, "VRORIGREC", client) : calculated;
    if (negotiated > calculated) RefuseAboveCalculated(client, negotiated, calculated);
    const double percent = NumberAt(sent, r, "VRPERCMULTA").value_or(0.0);
    const Cents fine = Amount(sent, r, "VRMULTA", client);
    store.bindAll(b.branch, b.budget, key.client, key.seq, key.address, calculated, negotiated, percent,
                  fine, account, TextAt(sent, r, "ERRO"), TextAt(sent, r, "ERRORENEGFIN"));
    store.run();
  }
  constexpr const char* kNotSent =
      "   AND NOT EXISTS (SELECT 1 FROM SENTCONTRACT s WHERE s.NRSEQORCAEVE = t.NRSEQORCAEVE"
      "                     AND s.CDCLIENTE = t.CDCLIENTE AND s.NRENDCLIORCEVE = t.NRENDCLIORCEVE)";
  Statement plans = db.prepare(std::string("DELETE FROM FORMAPGTO AS t WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2") +
                               kNotSent);
  plans.bindAll(b.branch, b.budget);
  plans.run();
  Statement gone = db.prepare(
      std::string("DELETE FROM CONTRATDISTRATO AS t WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2") + kNotSent);
  gone.bindAll(b.branch, b.budget);
  gone.run();

  Variant stored(StoredParties(db, b));
  args.contratantes = stored;
  RememberRead(db, b, caller);
  WriteAudit(db, {"InsContratDistrato", caller.operatorCode(), b.branch, b.budget, "",
                  std::to_string(stored.asPacket().rowCount()) + " contratante(s) em conferência", "", "", ""});
  return stored;
}

Variant GetContratDistrato(Database& db, const protocol::GetContratDistrato& args, CallerSession& caller) {
  const BudgetKey b = BudgetArgs(args);
  RememberRead(db, b, caller);
  return Variant(StoredParties(db, b));
}

// The contract GetFormaPgto and DeletaFormaPgto name: the client, with the
// optional sequence and address a client of several contracts needs.
template <class Call>
std::optional<PartyKey> NamedParty(Database& db, const BudgetKey& b, const Call& args) {
  const std::string seq = args.sequencia.empty() ? "" : KeyCode(args.sequencia, kSequenceWidth);
  return FindParty(WorkingSetParties(db, b), KeyCode(args.cliente, 0), seq, KeyCode(args.endereco, 0), false);
}

Variant GetFormaPgto(Database& db, const protocol::GetFormaPgto& args) {
  const BudgetKey b = BudgetArgs(args);
  return Variant(StoredPlan(db, b, NamedParty(db, b, args)));
}

Variant DeletaFormaPgto(Database& db, const protocol::DeletaFormaPgto& args, CallerSession& caller) {
  BudgetKey b = BudgetArgs(args);
  const std::optional<PartyKey> party = NamedParty(db, b, args);
  if (!party) return Variant(StoredPlan(db, b, party));
  RequireUnchangedSinceRead(PartyStamps(db, b), b, *party, caller);
  const std::int64_t deleted = DeletePlan(db, b, *party);
  // The caller's own change is what it now holds of this party.
  caller.rememberRead(ReadScope(b), party->text(), PartyStamps(db, b)[party->text()]);
  // Nothing deleted, nothing changed: the trail records changes only.
  if (deleted > 0)
    WriteAudit(db, {"DeletaFormaPgto", caller.operatorCode(), b.branch, b.budget, party->client,
                    std::to_string(deleted) + " parcela(s) excluída(s)", "", party->seq, party->address});
  return Variant(StoredPlan(db, b, party));
}

struct ConfirmedParty {
  Cents negotiated = 0;
  std::string mode, startMonth;
  double day = 1, count = 1;
  std::string substitute;
};

ConfirmedParty ReadConfirmedParty(const DataPacket& p, std::size_t r, const std::string& client) {
  ConfirmedParty c;
  c.negotiated = Amount(p, r, "VRORIGREC", client);
  c.mode = TextAt(p, r, "IDTPFORMAPGTO");
  if (c.mode.empty()) c.mode = "E";
  if (c.mode != "E" && c.mode != "F" && c.mode != "V")
    throw Refusal("Forma de pagamento inválida para o contratante " + client + ".");
  c.startMonth = TextAt(p, r, "IDMESINIPGTO") == "P" ? "P" : "A";
  c.day = NumberAt(p, r, "NRDIAPGTOFIXO").value_or(1);
  c.count = NumberAt(p, r, "NRPARCELAS").value_or(1);
  if (c.mode == "F" && (c.day < 1 || c.day > 31 || c.day != std::floor(c.day)))
    throw Refusal("Dia de pagamento inválido para o contratante " + client + ".");
  if (c.mode == "F" && (c.count < 1 || c.count > 99 || c.count != std::floor(c.count)))
    throw Refusal("Quantidade de parcelas inválida para o contratante " + client + ".");
  if (c.mode != "F") c.day = c.count = 1, c.startMonth = "A";
  return c;
}

// The stored negotiated-value ceiling and payment mode of a party of the
// working set.
struct StoredParty {
  Cents calculated = 0;
  std::string mode;
};

StoredParty StoredPartyOf(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(
      "SELECT VRORIGRECNOEDIT, IDTPFORMAPGTO FROM CONTRATDISTRATO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  if (!st.step()) NotAParty(k.label());
  return {st.integer(0), st.text(1)};
}

// The installments stored for a contract, as (due date, value) in order.
struct Installment;
std::vector<Installment> StoredInstallments(Database& db, const BudgetKey& b, const PartyKey& k);

constexpr std::size_t kMaxInstallments = 360;

struct Installment {
  DateTime due;
  Cents value = 0;
};

// The plan packet by owning party, each installment checked: this branch and
// budget, a due date not before the processing date, a value above zero.
std::vector<Installment> StoredInstallments(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(
      "SELECT DTVENCIMENTO, VRPARCELA FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
      "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5 ORDER BY NRPARCELA");
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  std::vector<Installment> out;
  while (st.step()) out.push_back({DateTime{st.real(0)}, st.integer(1)});
  return out;
}

bool SameInstallments(const std::vector<Installment>& a, const std::vector<Installment>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].value != b[i].value || a[i].due.days != b[i].due.days) return false;
  return true;
}

// The plan packet by owning contract, each installment checked: this branch
// and budget, a due date not before the processing date, a value above zero.
// Installments are keyed to the party or to its substitute; both mean the
// party, whose own key the plan is stored and fetched under.
std::map<PartyKey, std::vector<Installment>> ReadPlans(Database& db, const BudgetKey& b,
                                                       const std::vector<Reviewing>& set, const DataPacket& plan) {
  const DateTime processing = rescission_store::ProcessingDate(db, b.branch);
  std::map<PartyKey, std::vector<Installment>> plans;
  for (std::size_t r = 0; r < plan.rowCount(); ++r) {
    std::string keyedTo = ClientAt(plan, r);
    const std::optional<PartyKey> owner = FindParty(set, keyedTo, SeqAt(plan, r), AddressAt(plan, r), true);
    if (!owner) NotAParty(keyedTo);
    const std::string ownerLabel = owner->label();
    if ((Has(plan, "CDFILIAL") && KeyCode(TextAt(plan, r, "CDFILIAL"), kBranchWidth) != b.branch) ||
        (Has(plan, "NRORCAEVENTO") && KeyCode(TextAt(plan, r, "NRORCAEVENTO"), kBudgetWidth) != b.budget))
      throw Refusal("Parcela de outro orçamento no pacote de parcelas.");
    if (!Has(plan, "DTVENCIMENTO") || plan.at(r, "DTVENCIMENTO").isNull())
      throw Refusal("Data de vencimento deve ser informada.");
    DateTime due;
    try {
      due = DateOf(plan.at(r, "DTVENCIMENTO").asDate());
    } catch (const std::exception&) {
      throw Refusal("Data de vencimento inválida.");
    }
    if (due < processing)
      throw Refusal("Parcela do contratante " + ownerLabel + " vence em " + FormatDate(due) +
                               ", antes da data de processamento (" + FormatDate(processing) + ").");
    const Cents value = Amount(plan, r, "VRPARCELA", keyedTo);
    if (value <= 0)
      throw Refusal("O valor de cada parcela do contratante " + ownerLabel + " deve ser maior que zero.");
    std::vector<Installment>& party = plans[*owner];
    // Thirty years of monthly installments is more than any real plan; a
    // longer one is a mistake or an attack on the storage.
    if (party.size() == kMaxInstallments)
      throw Refusal("O plano de pagamento do contratante " + ownerLabel + " excede o limite de " +
                               std::to_string(kMaxInstallments) + " parcelas.");
    party.push_back({due, value});
  }
  return plans;
}

void StorePlan(Database& db, const BudgetKey& b, const PartyKey& k, const std::vector<Installment>& rows) {
  DeletePlan(db, b, k);
  int n = 0;
  for (const Installment& row : rows) {
    Statement st = db.prepare(
        "INSERT INTO FORMAPGTO (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA,"
        "   DTVENCIMENTO, VRPARCELA) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    st.bindAll(b.branch, b.budget, k.seq, k.client, k.address, ++n, row.due.days, row.value);
    st.run();
  }
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

  const std::vector<Reviewing> set = WorkingSetParties(db, b);
  std::map<PartyKey, std::vector<Installment>> plans = ReadPlans(db, b, set, plan);
  const std::map<std::string, std::string> stampsNow = PartyStamps(db, b);

  struct Change {
    PartyKey party;
    ConfirmedParty confirmed;
  };
  std::vector<Change> changes;
  std::map<PartyKey, std::string> modeAfter;  // parties sent: the mode they end with
  for (std::size_t r = 0; r < parties.rowCount(); ++r) {
    const PartyKey party = PartyAt(set, parties, r);
    ConfirmedParty c = ReadConfirmedParty(parties, r, party.label());
    const StoredParty stored = StoredPartyOf(db, b, party);
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
    if (leavesVariable && SameInstallments(it->second, StoredInstallments(db, b, it->first)))
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
    const std::string mode = sent != modeAfter.end() ? sent->second : StoredPartyOf(db, b, party).mode;
    if (mode != "V")
      throw Refusal("O contratante " + party.label() +
                               " não tem forma de pagamento variável: parcelas não podem ser informadas.");
  }
  for (const auto& [party, mode] : modeAfter)
    if (mode == "V" && !plans.count(party) && StoredInstallments(db, b, party).empty())
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
    std::optional<Cents> negotiated = negotiatedOf(party);
    if (!negotiated) {
      Statement st = db.prepare(
          "SELECT VRORIGREC FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3"
          "   AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
      st.bindAll(b.branch, b.budget, party.seq, party.client, party.address);
      st.step();
      negotiated = st.integer(0);
    }
    requireSum(party, rows, *negotiated);
  }
  for (const Change& change : changes)
    if (change.confirmed.mode == "V" && !plans.count(change.party))
      requireSum(change.party, StoredInstallments(db, b, change.party), change.confirmed.negotiated);

  for (const Change& change : changes) {
    const ConfirmedParty& c = change.confirmed;
    const PartyKey& k = change.party;
    Statement st = db.prepare(
        "UPDATE CONTRATDISTRATO SET VRORIGREC = ?6, IDTPFORMAPGTO = ?7, NRDIAPGTOFIXO = ?8, NRPARCELAS = ?9,"
        "       IDMESINIPGTO = ?10"
        " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5");
    st.bindAll(b.branch, b.budget, k.seq, k.client, k.address, c.negotiated, c.mode, c.day, c.count, c.startMonth);
    st.run();
    // Leaving the variable mode leaves its installments behind.
    if (c.mode != "V") DeletePlan(db, b, k);
  }
  for (const auto& [party, rows] : plans) StorePlan(db, b, party, rows);
  RememberRead(db, b, caller);
  for (const Change& change : changes)
    WriteAudit(db, {"SetConfirmar", caller.operatorCode(), b.branch, b.budget, change.party.client,
                    "negociado " + rescission_store::MoneyText(change.confirmed.negotiated) + "; forma " +
                        change.confirmed.mode,
                    "", change.party.seq, change.party.address});
  return Variant(StoredParties(db, b));
}

}  // namespace

void RegisterContractorValues(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, InsContratDistrato, Access::kWriteBudget));
  d.add(Transactional(s, GetContratDistrato));
  d.add(Transactional(s, GetFormaPgto));
  d.add(Transactional(s, DeletaFormaPgto, Access::kWriteBudget));
  d.add(Transactional(s, SetConfirmar, Access::kWriteBudget));
}
