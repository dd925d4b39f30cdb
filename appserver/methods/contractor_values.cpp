// The contractor-values working set of a total rescission under review: the
// values and payment form of every party of a budget (CONTRATDISTRATO) and
// each party's installments (FORMAPGTO), stored per branch, budget and party
// while the review lasts. The rules are in the README, "Contractor values".

#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>

#include "data/formats.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/packet_builder.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

using A = ArgKind;
using S = FieldType;

constexpr double kMaxValue = 999999999.99;

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

Budget BudgetArgs(CallArgs& args, std::size_t first) {
  return {KeyCode(args.text(first), kBranchWidth), KeyCode(args.text(first + 1), kBudgetWidth)};
}

DataPacket StoredParties(Database& db, const Budget& b) {
  Statement st = db.prepare(
      "SELECT d.VRORIGREC, d.VRPERCMULTA, d.VRMULTA, d.GERACTPAGAR, d.VRORIGRECNOEDIT, c.IDTPIJURCLIE,"
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
      "SELECT DTVENCIMENTO, CDFILIAL, NRORCAEVENTO, CDCLIENTE, VRPARCELA FROM FORMAPGTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3 ORDER BY NRPARCELA");
  st.bindAll(b.branch, b.budget, client);
  return QueryPacket(st, PaymentPlanShape());
}

void DeletePlan(Database& db, const Budget& b, const std::string& client) {
  Statement st = db.prepare("DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
  st.bindAll(b.branch, b.budget, client);
  st.run();
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

double Amount(const DataPacket& p, std::size_t row, const char* field, const std::string& client) {
  double v = RoundDec(NumberAt(p, row, field).value_or(0.0), 2);
  if (v < 0 || v > kMaxValue)
    throw std::runtime_error(std::string("Valor inválido em ") + field + " do contratante " + client + ".");
  return v;
}

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

// --- the methods -----------------------------------------------------------

// Starts (or resumes) the review: parties new to the working set are stored
// as sent; for parties already there the computed columns are refreshed and
// what the user confirmed (negotiated value, payment form, plan) is kept.
// Parties no longer sent leave the working set with their plans.
Variant InsContratDistrato(Database& db, CallArgs& args) {
  Budget b = BudgetArgs(args, 1);
  const DataPacket& sent = PacketArg(args.raw(0), "contratantes");
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
  db.prepare("DELETE FROM temp.SENTPARTY").run();
  Statement mark = db.prepare("INSERT OR IGNORE INTO temp.SENTPARTY (CDCLIENTE) VALUES (?1)");
  Statement store = db.prepare(
      "INSERT INTO CONTRATDISTRATO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE,"
      "   VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, ERRO, ERRORENEGFIN)"
      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"
      " ON CONFLICT (CDFILIAL, NRORCAEVENTO, CDCLIENTE) DO UPDATE SET"
      "   VRORIGRECNOEDIT = excluded.VRORIGRECNOEDIT, VRPERCMULTA = excluded.VRPERCMULTA,"
      "   VRMULTA = excluded.VRMULTA, GERACTPAGAR = excluded.GERACTPAGAR, ERRO = excluded.ERRO,"
      "   ERRORENEGFIN = excluded.ERRORENEGFIN");
  for (std::size_t r = 0; r < sent.rowCount(); ++r) {
    std::string client = TextAt(sent, r, "CDCLIENTE");
    auto key = parties.find(client);
    if (key == parties.end()) NotAParty(client);
    mark.bindAll(client).run();

    std::string account = TextAt(sent, r, "GERACTPAGAR");
    if (account.empty()) account = "CNTRECEBER";
    double calculated = Amount(sent, r, "VRORIGRECNOEDIT", client);
    double negotiated = Has(sent, "VRORIGREC") ? Amount(sent, r, "VRORIGREC", client) : calculated;
    double percent = NumberAt(sent, r, "VRPERCMULTA").value_or(0.0);
    double fine = NumberAt(sent, r, "VRMULTA").value_or(0.0);
    store.bindAll(b.branch, b.budget, client, key->second.seq, key->second.address, calculated, negotiated, percent,
                  fine, account, TextAt(sent, r, "ERRO"), TextAt(sent, r, "ERRORENEGFIN"));
    store.run();
  }
  Statement plans = db.prepare(
      "DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND CDCLIENTE NOT IN (SELECT CDCLIENTE FROM temp.SENTPARTY)");
  plans.bindAll(b.branch, b.budget);
  plans.run();
  Statement gone = db.prepare(
      "DELETE FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"
      "   AND CDCLIENTE NOT IN (SELECT CDCLIENTE FROM temp.SENTPARTY)");
  gone.bindAll(b.branch, b.budget);
  gone.run();

  Variant stored(StoredParties(db, b));
  args.raw(0) = stored;
  return stored;
}

Variant GetContratDistrato(Database& db, CallArgs& args) { return Variant(StoredParties(db, BudgetArgs(args, 0))); }

Variant GetFormaPgto(Database& db, CallArgs& args) {
  return Variant(StoredPlan(db, BudgetArgs(args, 0), KeyCode(args.text(2), 0)));
}

Variant DeletaFormaPgto(Database& db, CallArgs& args) {
  Budget b = BudgetArgs(args, 0);
  std::string client = KeyCode(args.text(2), 0);
  DeletePlan(db, b, client);
  return Variant(StoredPlan(db, b, client));
}

struct ConfirmedParty {
  double negotiated = 0;
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

// Stores the confirmed parties and the plan sent with them in one
// transaction: any refusal leaves the working set as it was.
Variant SetConfirmar(Database& db, CallArgs& args) {
  Budget b = BudgetArgs(args, 2);
  const DataPacket& parties = PacketArg(args.raw(0), "contratantes");
  const DataPacket& plan = PacketArg(args.raw(1), "parcelas");
  if (parties.rowCount() > 0 && !Has(parties, "CDCLIENTE"))
    throw std::runtime_error("Pacote de contratantes sem CDCLIENTE.");

  for (std::size_t r = 0; r < parties.rowCount(); ++r) {
    std::string client = TextAt(parties, r, "CDCLIENTE");
    if (!InWorkingSet(db, b, client)) NotAParty(client);
    ConfirmedParty c = ReadConfirmedParty(parties, r, client);
    Statement st = db.prepare(
        "UPDATE CONTRATDISTRATO SET VRORIGREC = ?4, IDTPFORMAPGTO = ?5, NRDIAPGTOFIXO = ?6, NRPARCELAS = ?7,"
        "       IDMESINIPGTO = ?8"
        " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
    st.bindAll(b.branch, b.budget, client, c.negotiated, c.mode, c.day, c.count, c.startMonth);
    st.run();
  }

  // Installments are keyed to the party or to its substitute; both mean the
  // party, whose own code the plan is stored and fetched under.
  std::map<std::string, std::string> owner;
  {
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
  }

  struct Row {
    DateTime due;
    double value;
  };
  std::map<std::string, std::vector<Row>> plans;
  for (std::size_t r = 0; r < plan.rowCount(); ++r) {
    std::string keyedTo = TextAt(plan, r, "CDCLIENTE");
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
    plans[it->second].push_back({due, Amount(plan, r, "VRPARCELA", keyedTo)});
  }

  for (auto& [client, rows] : plans) {
    Statement mode = db.prepare(
        "SELECT IDTPFORMAPGTO, VRORIGREC FROM CONTRATDISTRATO"
        " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND CDCLIENTE = ?3");
    mode.bindAll(b.branch, b.budget, client);
    mode.step();
    if (mode.text(0) == "V") {
      double sum = 0;
      for (const Row& row : rows) sum += row.value;
      if (RoundDec(sum, 2) != RoundDec(mode.real(1), 2))
        throw std::runtime_error("A soma das parcelas difere do valor negociado do contratante " + client + ".");
    }
    DeletePlan(db, b, client);
    int n = 0;
    for (const Row& row : rows) {
      Statement st = db.prepare(
          "INSERT INTO FORMAPGTO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRPARCELA, DTVENCIMENTO, VRPARCELA)"
          " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
      st.bindAll(b.branch, b.budget, client, ++n, row.due.days, row.value);
      st.run();
    }
  }
  return Variant(StoredParties(db, b));
}

}  // namespace

void RegisterContractorValues(Dispatcher& d, Storage& s) {
  d.add({"InsContratDistrato", {A::Any, A::Text, A::Text}, Transactional(s, InsContratDistrato, true)});
  d.add({"GetContratDistrato", {A::Text, A::Text}, Transactional(s, GetContratDistrato)});
  d.add({"GetFormaPgto", {A::Text, A::Text, A::Text}, Transactional(s, GetFormaPgto)});
  d.add({"DeletaFormaPgto", {A::Text, A::Text, A::Text}, Transactional(s, DeletaFormaPgto, true)});
  d.add({"SetConfirmar", {A::Any, A::Any, A::Text, A::Text}, Transactional(s, SetConfirmar, true)});
}
