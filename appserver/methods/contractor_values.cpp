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
#include "methods/rescission_store.h"
#include "methods/packet_builder.h"
#include "session/caller_session.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

using S = FieldType;

const PacketShape& PaymentPlanShape() {
  static const PacketShape shape{
      {"DTVENCIMENTO", S::DateTime, 0}, {"CDFILIAL", S::String, 4},  {"NRORCAEVENTO", S::String, 10},
      {"CDCLIENTE", S::String, 21},     {"VRPARCELA", S::Float, 0},
  };
  return shape;
}

struct Budget {
  std::string branch, budget;
};

// The budget a call names by its `filial` and `orcamento` arguments.
template <class Call>
Budget BudgetArgs(const Call& args) {
  return {KeyCode(args.filial, kBranchWidth), KeyCode(args.orcamento, kBudgetWidth)};
}

DataPacket StoredParties(Database& db, const Budget& b) {
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
      " ORDER BY d.NRSEQORCAEVE, c.NMFANTCLIE, d.CDCLIENTE");
  st.bindAll(b.branch, b.budget);
  return QueryPacket(st, ContractorValuesShape());
}

DataPacket StoredPlan(Database& db, const Budget& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT DTVENCIMENTO, CDFILIAL, NRORCAEVENTO, CDCLIENTE, AMOUNT(VRPARCELA) FROM FORMAPGTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3 ORDER BY NRPARCELA");
  st.bindAll(b.branch, b.budget, client);
  return QueryPacket(st, PaymentPlanShape());
}

void DeletePlan(Database& db, const Budget& b, const std::string& client) {
  Statement st = db.prepare("DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
  st.bindAll(b.branch, b.budget, client);
  st.run();
}

// --- who read what ------------------------------------------------------------
//
// Two operators may review the same budget at once. Each connection keeps a
// stamp of every party as it last read it; a change to a party whose stored
// values (or plan) differ from that stamp is refused, so one operator's
// confirmation never silently overwrites another's. Calls made in-process,
// outside any connection, are not checked.

std::string ReadScope(const Budget& b) { return "CONTRATDISTRATO|" + b.branch + "|" + b.budget; }

// Every party of the budget's working set with a stamp of what the dialog
// shows and confirms: its values, payment form and installments.
std::map<std::string, std::string> PartyStamps(Database& db, const Budget& b) {
  std::map<std::string, std::string> stamps;
  Statement st = db.prepare(
      "SELECT CDCLIENTE, VRORIGRECNOEDIT || '|' || VRORIGREC || '|' || VRPERCMULTA || '|' || VRMULTA || '|' ||"
      "       GERACTPAGAR || '|' || ERRO || '|' || ERRORENEGFIN || '|' || IDTPFORMAPGTO || '|' ||"
      "       NRDIAPGTOFIXO || '|' || NRPARCELAS || '|' || IDMESINIPGTO"
      "  FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  while (st.step()) stamps[st.text(0)] = st.text(1);
  Statement plan = db.prepare(
      "SELECT CDCLIENTE, NRPARCELA || ':' || DTVENCIMENTO || ':' || VRPARCELA FROM FORMAPGTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY CDCLIENTE, NRPARCELA");
  plan.bindAll(b.branch, b.budget);
  while (plan.step()) {
    auto it = stamps.find(plan.text(0));
    if (it != stamps.end()) it->second += ";" + plan.text(1);
  }
  return stamps;
}

// The caller now holds the budget's working set as stored.
void RememberRead(Database& db, const Budget& b) {
  if (CallerSession* caller = CurrentCaller()) caller->rememberReads(ReadScope(b), PartyStamps(db, b));
}

// Refuses a change to a party that is no longer as the caller read it.
void RequireUnchangedSinceRead(const std::map<std::string, std::string>& now, const Budget& b,
                               const std::string& client) {
  const CallerSession* caller = CurrentCaller();
  if (!caller) return;
  auto stored = now.find(client);
  const std::optional<std::string> read = caller->lastRead(ReadScope(b), client);
  // A connection made again (the server closes idle ones) has read nothing yet.
  if (!read)
    throw std::runtime_error("Os valores do contratante " + client +
                             " não foram lidos nesta conexão com o servidor. Abra novamente os valores dos "
                             "contratantes e refaça a confirmação.");
  if (stored == now.end() || *read != stored->second)
    throw std::runtime_error("Os valores do contratante " + client +
                             " foram alterados por outro operador depois de lidos. Abra novamente os valores dos "
                             "contratantes e refaça a confirmação.");
}

// --- reading a packet the client sent -------------------------------------

const DataPacket& PacketArg(const Variant& v, const char* what) {
  if (!v.isPacket()) throw std::runtime_error(std::string("Pacote de ") + what + " inválido.");
  return v.asPacket();
}

bool Has(const DataPacket& p, const char* field) { return p.fieldIndex(field) >= 0; }

std::string TextAt(const DataPacket& p, std::size_t row, const char* field) {
  if (!Has(p, field)) return "";
  std::string t = p.at(row, field).asText();
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

std::optional<double> NumberAt(const DataPacket& p, std::size_t row, const char* field) {
  if (!Has(p, field) || p.at(row, field).isNull()) return std::nullopt;
  try {
    double v = p.at(row, field).asDouble();
    if (!std::isfinite(v)) throw std::runtime_error("");
    return v;
  } catch (const std::exception&) {
    throw std::runtime_error(std::string("Valor inválido em ") + field + ".");
  }
}

// An amount of the packet in cents by the money rule, from 0 to the largest
// amount; an absent or null one is 0.
Cents Amount(const DataPacket& p, std::size_t row, const char* field, const std::string& client) {
  std::optional<Cents> v = ToCents(NumberAt(p, row, field).value_or(0.0));
  if (!v || *v < 0 || *v > kMaxAmountCents)
    throw std::runtime_error(std::string("Valor inválido em ") + field + " do contratante " + client + ".");
  return *v;
}

// A party's code as every method stores it.
std::string ClientAt(const DataPacket& p, std::size_t row) { return KeyCode(TextAt(p, row, "CDCLIENTE"), 0); }

struct PartyKey {
  std::string seq, address;
};


bool InWorkingSet(Database& db, const Budget& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT 1 FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
  st.bindAll(b.branch, b.budget, client);
  return st.step();
}

[[noreturn]] void NotAParty(const std::string& client) {
  throw std::runtime_error("Contratante " + client + " não pertence ao distrato deste orçamento.");
}

// A negotiation lowers what is refunded or charged, never raises it.
[[noreturn]] void RefuseAboveCalculated(const std::string& client, Cents negotiated, Cents calculated) {
  throw std::runtime_error("O valor negociado do contratante " + client + " (" + CentsText(negotiated) +
                           ") não pode ser maior que o valor calculado (" + CentsText(calculated) + ").");
}

// --- the methods -----------------------------------------------------------

// Starts (or resumes) the review: parties new to the working set are stored
// as sent; for parties already there the computed columns are refreshed and
// what the user confirmed (negotiated value, payment form, plan) is kept.
// Parties no longer sent leave the working set with their plans.
Variant InsContratDistrato(Database& db, protocol::InsContratDistrato& args) {
  Budget b = BudgetArgs(args);
  const DataPacket& sent = PacketArg(args.contratantes, "contratantes");
  if (!Has(sent, "CDCLIENTE")) throw std::runtime_error("Pacote de contratantes sem CDCLIENTE.");

  // The budget's parties read once: a whole budget is reviewed at once, and
  // a look-up per party would read the budget once per party.
  std::map<std::string, PartyKey> parties;
  {
    Statement st = db.prepare(
        "SELECT CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE FROM CONTRATANTE WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
        " ORDER BY NRSEQORCAEVE DESC, NRENDCLIORCEVE DESC");
    st.bindAll(b.branch, b.budget);
    while (st.step()) parties[st.text(0)] = PartyKey{st.text(1), st.text(2)};  // the first sequence wins
  }

  db.prepare("CREATE TEMP TABLE IF NOT EXISTS SENTPARTY (CDCLIENTE TEXT PRIMARY KEY)").run();
  db.prepare("DELETE FROM SENTPARTY").run();
  Statement mark = db.prepare("INSERT INTO SENTPARTY (CDCLIENTE) VALUES (?1) ON CONFLICT DO NOTHING");
  Statement store = db.prepare(
      "INSERT INTO CONTRATDISTRATO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE,"
      "   VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, ERRO, ERRORENEGFIN)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"
      " ON CONFLICT (CDFILIAL, NRORCAEVENTO, CDCLIENTE) DO UPDATE SET"
      "   VRORIGRECNOEDIT = excluded.VRORIGRECNOEDIT, VRPERCMULTA = excluded.VRPERCMULTA,"
      "   VRMULTA = excluded.VRMULTA, GERACTPAGAR = excluded.GERACTPAGAR, ERRO = excluded.ERRO,"
      "   ERRORENEGFIN = excluded.ERRORENEGFIN");
  for (std::size_t r = 0; r < sent.rowCount(); ++r) {
    std::string client = ClientAt(sent, r);
    auto key = parties.find(client);
    if (key == parties.end()) NotAParty(client);
    mark.bindAll(client).run();

    std::string account = TextAt(sent, r, "GERACTPAGAR");
    if (account.empty()) account = "CNTRECEBER";
    const Cents calculated = Amount(sent, r, "VRORIGRECNOEDIT", client);
    const Cents negotiated = Has(sent, "VRORIGREC") ? Amount(sent, r, "VRORIGREC", client) : calculated;
    if (negotiated > calculated) RefuseAboveCalculated(client, negotiated, calculated);
    const double percent = NumberAt(sent, r, "VRPERCMULTA").value_or(0.0);
    const Cents fine = Amount(sent, r, "VRMULTA", client);
    store.bindAll(b.branch, b.budget, client, key->second.seq, key->second.address, calculated, negotiated, percent,
                  fine, account, TextAt(sent, r, "ERRO"), TextAt(sent, r, "ERRORENEGFIN"));
    store.run();
  }
  Statement plans = db.prepare(
      "DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND CDCLIENTE NOT IN (SELECT CDCLIENTE FROM SENTPARTY)");
  plans.bindAll(b.branch, b.budget);
  plans.run();
  Statement gone = db.prepare(
      "DELETE FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND CDCLIENTE NOT IN (SELECT CDCLIENTE FROM SENTPARTY)");
  gone.bindAll(b.branch, b.budget);
  gone.run();

  Variant stored(StoredParties(db, b));
  args.contratantes = stored;
  RememberRead(db, b);
  WriteAudit(db, {"InsContratDistrato", "", b.branch, b.budget, "",
                  std::to_string(stored.asPacket().rowCount()) + " contratante(s) em conferência", ""});
  return stored;
}

Variant GetContratDistrato(Database& db, const protocol::GetContratDistrato& args) {
  const Budget b = BudgetArgs(args);
  RememberRead(db, b);
  return Variant(StoredParties(db, b));
}

Variant GetFormaPgto(Database& db, const protocol::GetFormaPgto& args) {
  return Variant(StoredPlan(db, BudgetArgs(args), KeyCode(args.cliente, 0)));
}

Variant DeletaFormaPgto(Database& db, const protocol::DeletaFormaPgto& args) {
  Budget b = BudgetArgs(args);
  std::string client = KeyCode(args.cliente, 0);
  if (CurrentCaller() && InWorkingSet(db, b, client)) RequireUnchangedSinceRead(PartyStamps(db, b), b, client);
  DeletePlan(db, b, client);
  // The caller's own change is what it now holds of this party.
  if (CallerSession* caller = CurrentCaller(); caller && InWorkingSet(db, b, client))
    caller->rememberRead(ReadScope(b), client, PartyStamps(db, b)[client]);
  WriteAudit(db, {"DeletaFormaPgto", "", b.branch, b.budget, client, "parcelas excluídas", ""});
  return Variant(StoredPlan(db, b, client));
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
    throw std::runtime_error("Forma de pagamento inválida para o contratante " + client + ".");
  c.startMonth = TextAt(p, r, "IDMESINIPGTO") == "P" ? "P" : "A";
  c.day = NumberAt(p, r, "NRDIAPGTOFIXO").value_or(1);
  c.count = NumberAt(p, r, "NRPARCELAS").value_or(1);
  if (c.mode == "F" && (c.day < 1 || c.day > 31 || c.day != std::floor(c.day)))
    throw std::runtime_error("Dia de pagamento inválido para o contratante " + client + ".");
  if (c.mode == "F" && (c.count < 1 || c.count > 99 || c.count != std::floor(c.count)))
    throw std::runtime_error("Quantidade de parcelas inválida para o contratante " + client + ".");
  if (c.mode != "F") c.day = c.count = 1, c.startMonth = "A";
  return c;
}

// The stored negotiated-value ceiling and payment mode of a party of the
// working set.
struct StoredParty {
  Cents calculated = 0;
  std::string mode;
};

StoredParty StoredPartyOf(Database& db, const Budget& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT VRORIGRECNOEDIT, IDTPFORMAPGTO FROM CONTRATDISTRATO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
  st.bindAll(b.branch, b.budget, client);
  if (!st.step()) NotAParty(client);
  return {st.integer(0), st.text(1)};
}

std::int64_t StoredInstallments(Database& db, const Budget& b, const std::string& client) {
  Statement st = db.prepare(
      "SELECT COUNT(*) FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
  st.bindAll(b.branch, b.budget, client);
  st.step();
  return st.integer(0);
}

// Installments are keyed to the party or to its substitute; both mean the
// party, whose own code the plan is stored and fetched under.
std::map<std::string, std::string> PlanOwners(Database& db, const Budget& b) {
  std::map<std::string, std::string> owner;
  Statement st = db.prepare(
      "SELECT d.CDCLIENTE, p.CDCLICONTSUBORE FROM CONTRATDISTRATO d"
      "  LEFT JOIN CONTRATANTE p ON p.CDFILIAL = d.CDFILIAL AND p.NRORCAEVENTO = d.NRORCAEVENTO"
      "                         AND p.NRSEQORCAEVE = d.NRSEQORCAEVE AND p.CDCLIENTE = d.CDCLIENTE"
      "                         AND p.NRENDCLIORCEVE = d.NRENDCLIORCEVE"
      " WHERE d.CDFILIAL = ?1 AND d.NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  while (st.step()) {
    std::string substitute = st.isNull(1) ? "" : st.text(1);
    if (!substitute.empty()) owner.emplace(substitute, st.text(0));
  }
  Statement again = db.prepare("SELECT CDCLIENTE FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  again.bindAll(b.branch, b.budget);
  while (again.step()) owner[again.text(0)] = again.text(0);
  return owner;
}

constexpr std::size_t kMaxInstallments = 360;

struct Installment {
  DateTime due;
  Cents value = 0;
};

// The plan packet by owning party, each installment checked: this branch and
// budget, a due date not before the processing date, a value above zero.
std::map<std::string, std::vector<Installment>> ReadPlans(Database& db, const Budget& b, const DataPacket& plan) {
  const std::map<std::string, std::string> owner = PlanOwners(db, b);
  const DateTime processing = rescission_store::ProcessingDate(db, b.branch);
  std::map<std::string, std::vector<Installment>> plans;
  for (std::size_t r = 0; r < plan.rowCount(); ++r) {
    std::string keyedTo = ClientAt(plan, r);
    auto it = owner.find(keyedTo);
    if (it == owner.end()) NotAParty(keyedTo);
    if ((Has(plan, "CDFILIAL") && KeyCode(TextAt(plan, r, "CDFILIAL"), kBranchWidth) != b.branch) ||
        (Has(plan, "NRORCAEVENTO") && KeyCode(TextAt(plan, r, "NRORCAEVENTO"), kBudgetWidth) != b.budget))
      throw std::runtime_error("Parcela de outro orçamento no pacote de parcelas.");
    if (!Has(plan, "DTVENCIMENTO") || plan.at(r, "DTVENCIMENTO").isNull())
      throw std::runtime_error("Data de vencimento deve ser informada.");
    DateTime due;
    try {
      due = DateOf(plan.at(r, "DTVENCIMENTO").asDate());
    } catch (const std::exception&) {
      throw std::runtime_error("Data de vencimento inválida.");
    }
    if (due < processing)
      throw std::runtime_error("Parcela do contratante " + it->second + " vence em " + FormatDate(due) +
                               ", antes da data de processamento (" + FormatDate(processing) + ").");
    const Cents value = Amount(plan, r, "VRPARCELA", keyedTo);
    if (value <= 0)
      throw std::runtime_error("O valor de cada parcela do contratante " + it->second + " deve ser maior que zero.");
    std::vector<Installment>& party = plans[it->second];
    // Thirty years of monthly installments is more than any real plan; a
    // longer one is a mistake or an attack on the storage.
    if (party.size() == kMaxInstallments)
      throw std::runtime_error("O plano de pagamento do contratante " + it->second + " excede o limite de " +
                               std::to_string(kMaxInstallments) + " parcelas.");
    party.push_back({due, value});
  }
  return plans;
}

void StorePlan(Database& db, const Budget& b, const std::string& client, const std::vector<Installment>& rows) {
  DeletePlan(db, b, client);
  int n = 0;
  for (const Installment& row : rows) {
    Statement st = db.prepare(
        "INSERT INTO FORMAPGTO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRPARCELA, DTVENCIMENTO, VRPARCELA)"
        " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    st.bindAll(b.branch, b.budget, client, ++n, row.due.days, row.value);
    st.run();
  }
}

// Stores the confirmed parties and the plan sent with them in one
// transaction: any refusal leaves the working set as it was. Everything is
// checked before the first write.
Variant SetConfirmar(Database& db, const protocol::SetConfirmar& args) {
  Budget b = BudgetArgs(args);
  const DataPacket& parties = PacketArg(args.contratantes, "contratantes");
  const DataPacket& plan = PacketArg(args.parcelas, "parcelas");
  if (parties.rowCount() > 0 && !Has(parties, "CDCLIENTE"))
    throw std::runtime_error("Pacote de contratantes sem CDCLIENTE.");

  std::map<std::string, std::vector<Installment>> plans = ReadPlans(db, b, plan);
  const std::map<std::string, std::string> stampsNow = CurrentCaller() ? PartyStamps(db, b)
                                                                       : std::map<std::string, std::string>();
  for (const auto& [client, rows] : plans) RequireUnchangedSinceRead(stampsNow, b, client);

  struct Change {
    std::string client;
    ConfirmedParty confirmed;
    bool dropsPlan = false;
  };
  std::vector<Change> changes;
  std::map<std::string, std::string> modeAfter;  // parties sent: the mode they end with
  for (std::size_t r = 0; r < parties.rowCount(); ++r) {
    std::string client = ClientAt(parties, r);
    if (!InWorkingSet(db, b, client)) NotAParty(client);
    RequireUnchangedSinceRead(stampsNow, b, client);
    ConfirmedParty c = ReadConfirmedParty(parties, r, client);
    const StoredParty stored = StoredPartyOf(db, b, client);
    if (c.negotiated > stored.calculated) RefuseAboveCalculated(client, c.negotiated, stored.calculated);
    modeAfter[client] = c.mode;
    // Leaving the variable mode leaves its installments behind.
    changes.push_back({client, c, c.mode != "V"});
  }

  // The mode and the installments agree: none for "E" or "F", at least one
  // for "V" (sent now or already stored).
  for (const auto& [client, rows] : plans) {
    auto sent = modeAfter.find(client);
    const std::string mode = sent != modeAfter.end() ? sent->second : StoredPartyOf(db, b, client).mode;
    if (mode != "V")
      throw std::runtime_error("O contratante " + client +
                               " não tem forma de pagamento variável: parcelas não podem ser informadas.");
  }
  for (const auto& [client, mode] : modeAfter)
    if (mode == "V" && !plans.count(client) && StoredInstallments(db, b, client) == 0)
      throw std::runtime_error("O contratante " + client +
                               " tem forma de pagamento variável: pelo menos uma parcela deve ser informada.");

  // The plan of a variable party sums to its negotiated value, to the cent.
  for (const auto& [client, rows] : plans) {
    Cents negotiated = 0;
    bool sentNow = false;
    for (const Change& change : changes)
      if (change.client == client) negotiated = change.confirmed.negotiated, sentNow = true;
    if (!sentNow) {
      Statement st = db.prepare(
          "SELECT VRORIGREC FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
      st.bindAll(b.branch, b.budget, client);
      st.step();
      negotiated = st.integer(0);
    }
    Cents sum = 0;
    for (const Installment& row : rows) sum += row.value;
    if (sum != negotiated)
      throw std::runtime_error("A soma das parcelas difere do valor negociado do contratante " + client + ".");
  }
  // A variable party whose stored plan is kept must still match a changed
  // negotiated value.
  for (const Change& change : changes) {
    if (change.confirmed.mode != "V" || plans.count(change.client)) continue;
    Statement st = db.prepare(
        "SELECT COALESCE(SUM(VRPARCELA), 0) FROM FORMAPGTO"
        " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
    st.bindAll(b.branch, b.budget, change.client);
    st.step();
    if (st.integer(0) != change.confirmed.negotiated)
      throw std::runtime_error("A soma das parcelas difere do valor negociado do contratante " + change.client + ".");
  }

  for (const Change& change : changes) {
    const ConfirmedParty& c = change.confirmed;
    Statement st = db.prepare(
        "UPDATE CONTRATDISTRATO SET VRORIGREC = ?4, IDTPFORMAPGTO = ?5, NRDIAPGTOFIXO = ?6, NRPARCELAS = ?7,"
        "       IDMESINIPGTO = ?8"
        " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
    st.bindAll(b.branch, b.budget, change.client, c.negotiated, c.mode, c.day, c.count, c.startMonth);
    st.run();
    if (change.dropsPlan) DeletePlan(db, b, change.client);
  }
  for (const auto& [client, rows] : plans) StorePlan(db, b, client, rows);
  RememberRead(db, b);
  for (const Change& change : changes)
    WriteAudit(db, {"SetConfirmar", "", b.branch, b.budget, change.client,
                    "negociado " + rescission_store::MoneyText(change.confirmed.negotiated) + "; forma " + change.confirmed.mode, ""});
  return Variant(StoredParties(db, b));
}

}  // namespace

void RegisterContractorValues(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, InsContratDistrato, true));
  d.add(Transactional(s, GetContratDistrato));
  d.add(Transactional(s, GetFormaPgto));
  d.add(Transactional(s, DeletaFormaPgto, true));
  d.add(Transactional(s, SetConfirmar, true));
}
