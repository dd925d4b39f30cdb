#include "methods/working_set_store.h"

#include <cstring>
#include <string_view>

#include "methods/packet_builder.h"
#include "methods/packet_shapes.h"
#include "storage/database.h"
#include "storage/statement.h"

void ClearWorkingSet(Database& db, const BudgetKey& b) {
  for (const char* sql : {"DELETE FROM FORMAPGTO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2",
                          "DELETE FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2"}) {
    Statement st = db.prepare(sql);
    st.bindAll(b.branch, b.budget).run();
  }
}

namespace working_set_store {

namespace {

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

// ?1 to ?5: the budget and the contract.
constexpr const char* kContract =
    " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 AND NRSEQORCAEVE = ?3 AND CDCLIENTE = ?4 AND NRENDCLIORCEVE = ?5";

Statement PrepareForContract(Database& db, const std::string& sql, const BudgetKey& b, const PartyKey& k) {
  Statement st = db.prepare(sql);
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address);
  return st;
}

void AppendNumber(std::string& stamp, double v) {
  char bits[sizeof v];
  std::memcpy(bits, &v, sizeof v);
  stamp.append(bits, sizeof v);
}

void AppendText(std::string& stamp, std::string_view t) {
  AppendNumber(stamp, static_cast<double>(t.size()));
  stamp += t;
}

// The key text of the contract in the row's first three columns, read in place.
std::string ContractText(const Statement& st) { return PartyKey::Text(st.textView(0), st.textView(1), st.textView(2)); }

std::vector<ReviewedContract> ReadReviewedContracts(Statement& st) {
  std::vector<ReviewedContract> out;
  while (st.step()) out.push_back({{st.text(0), st.text(1), st.text(2)}, st.text(3)});
  return out;
}

// ?1, ?2: the budget; `condition` narrows the contracts further.
std::string ReviewedContractsQuery(const char* condition) {
  return std::string(
             "SELECT d.NRSEQORCAEVE, d.CDCLIENTE, d.NRENDCLIORCEVE, COALESCE(p.CDCLICONTSUBORE, '') FROM CONTRATDISTRATO d"
             "  LEFT JOIN CONTRATANTE p ON p.CDFILIAL = d.CDFILIAL AND p.NRORCAEVENTO = d.NRORCAEVENTO"
             "                         AND p.NRSEQORCAEVE = d.NRSEQORCAEVE AND p.CDCLIENTE = d.CDCLIENTE"
             "                         AND p.NRENDCLIORCEVE = d.NRENDCLIORCEVE"
             " WHERE d.CDFILIAL = ?1 AND d.NRORCAEVENTO = ?2") +
         condition;
}

}  // namespace

std::vector<ReviewedContract> ReviewedContracts(Database& db, const BudgetKey& b) {
  Statement st = db.prepare(ReviewedContractsQuery(""));
  st.bindAll(b.branch, b.budget);
  return ReadReviewedContracts(st);
}

std::vector<ReviewedContract> ReviewedContractsOf(Database& db, const BudgetKey& b, const std::string& client) {
  Statement st = db.prepare(ReviewedContractsQuery(" AND d.CDCLIENTE = ?3"));
  st.bindAll(b.branch, b.budget, client);
  return ReadReviewedContracts(st);
}

DataPacket PartiesPacket(Database& db, const BudgetKey& b) {
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
      " WHERE d.CDFILIAL = ?1 AND d.NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  // By sequence, trade name, client and address.
  return QueryPacketOrdered(st, ContractorValuesShape(), {19, 18, 6, 20});
}

DataPacket PlanPacket(Database& db, const BudgetKey& b, const std::optional<PartyKey>& party) {
  const PartyKey none{"", "", ""};
  Statement st = PrepareForContract(
      db,
      std::string("SELECT DTVENCIMENTO, CDFILIAL, NRORCAEVENTO, CDCLIENTE, AMOUNT(VRPARCELA), NRSEQORCAEVE,"
                  " NRENDCLIORCEVE FROM FORMAPGTO") +
          kContract + " ORDER BY NRPARCELA",
      b, party ? *party : none);
  return QueryPacket(st, PaymentPlanShape());
}

namespace {

// `select` over the budget's rows, or over the contract `only`'s when given, then `rest`.
Statement PrepareForBudgetOr(Database& db, const std::string& select, const BudgetKey& b, const PartyKey* only,
                             const std::string& rest = "") {
  if (only) return PrepareForContract(db, select + kContract + rest, b, *only);
  Statement st = db.prepare(select + " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2" + rest);
  st.bindAll(b.branch, b.budget);
  return st;
}

// The stamps of the budget's contracts, or of `only` when given.
PartyStamps ReadStampsOf(Database& db, const BudgetKey& b, const PartyKey* only) {
  // The columns side by side, the numbers as their bits and each text behind
  // its length: a stamp is only ever compared with another made here, and
  // building it here spares the database a text conversion per value.
  PartyStamps stamps;
  Statement st = PrepareForBudgetOr(
      db,
      "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA,"
      "       NRDIAPGTOFIXO, NRPARCELAS, GERACTPAGAR, ERRO, ERRORENEGFIN, IDTPFORMAPGTO, IDMESINIPGTO"
      "  FROM CONTRATDISTRATO",
      b, only);
  while (st.step()) {
    std::string stamp;
    for (int col = 3; col <= 8; ++col) AppendNumber(stamp, st.real(col));
    for (int col = 9; col <= 13; ++col) AppendText(stamp, st.textView(col));
    // The rows mostly come in key order: the hint makes each insertion a step.
    stamps.emplace_hint(stamps.end(), ContractText(st), std::move(stamp));
  }
  Statement plan = PrepareForBudgetOr(
      db, "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA, DTVENCIMENTO, VRPARCELA FROM FORMAPGTO", b, only,
      " ORDER BY NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA");
  while (plan.step()) {
    auto it = stamps.find(ContractText(plan));
    if (it == stamps.end()) continue;
    for (int col = 3; col <= 5; ++col) AppendNumber(it->second, plan.real(col));
  }
  return stamps;
}

}  // namespace

PartyStamps ReadStamps(Database& db, const BudgetKey& b) { return ReadStampsOf(db, b, nullptr); }

PartyStamps ReadStamps(Database& db, const BudgetKey& b, const PartyKey& only) { return ReadStampsOf(db, b, &only); }

std::optional<StoredValues> ValuesOf(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st =
      PrepareForContract(db, std::string("SELECT VRORIGRECNOEDIT, VRORIGREC, IDTPFORMAPGTO FROM CONTRATDISTRATO") +
                                 kContract,
                         b, k);
  if (!st.step()) return std::nullopt;
  return StoredValues{st.integer(0), st.integer(1), st.text(2)};
}

std::vector<Installment> InstallmentsOf(Database& db, const BudgetKey& b, const PartyKey& k) {
  Statement st = PrepareForContract(
      db, std::string("SELECT DTVENCIMENTO, VRPARCELA FROM FORMAPGTO") + kContract + " ORDER BY NRPARCELA", b, k);
  std::vector<Installment> out;
  while (st.step()) out.push_back({DateTime{st.real(0)}, st.integer(1)});
  return out;
}

std::map<std::string, ConfirmedContract> Confirmations(Database& db, const BudgetKey& b) {
  std::map<std::string, ConfirmedContract> out;
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE || '|' || CDCLIENTE || '|' || NRENDCLIORCEVE, VRORIGREC, IDTPFORMAPGTO, NRDIAPGTOFIXO,"
      "       NRPARCELAS, IDMESINIPGTO FROM CONTRATDISTRATO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  while (st.step()) {
    ConfirmedContract c;
    c.confirmation = {st.integer(1), st.text(2), st.text(5), st.real(3), st.real(4)};
    out.emplace(st.text(0), std::move(c));
  }
  Statement plan = db.prepare(
      "SELECT NRSEQORCAEVE || '|' || CDCLIENTE || '|' || NRENDCLIORCEVE, DTVENCIMENTO, VRPARCELA FROM FORMAPGTO"
      " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2 ORDER BY NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA");
  plan.bindAll(b.branch, b.budget);
  while (plan.step()) {
    auto it = out.find(plan.text(0));
    if (it != out.end()) it->second.plan.push_back({DateTime{plan.real(1)}, plan.integer(2)});
  }
  return out;
}

std::int64_t DeletePlan(Database& db, const BudgetKey& b, const PartyKey& k) {
  PrepareForContract(db, std::string("DELETE FROM FORMAPGTO") + kContract, b, k).run();
  return db.changes();
}

void ReplacePlan(Database& db, const BudgetKey& b, const PartyKey& k, const std::vector<Installment>& rows) {
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

void StoreConfirmation(Database& db, const BudgetKey& b, const PartyKey& k, const Confirmation& c) {
  Statement st = db.prepare(
      std::string("UPDATE CONTRATDISTRATO SET VRORIGREC = ?6, IDTPFORMAPGTO = ?7, NRDIAPGTOFIXO = ?8, NRPARCELAS = ?9,"
                  "       IDMESINIPGTO = ?10") +
      kContract);
  st.bindAll(b.branch, b.budget, k.seq, k.client, k.address, c.negotiated, c.mode, c.day, c.count, c.startMonth);
  st.run();
}

ReviewRefresh::ReviewRefresh(Database& db, const BudgetKey& b)
    : db_(db),
      b_(b),
      store_(db.prepare(
          "INSERT INTO CONTRATDISTRATO (CDFILIAL, NRORCAEVENTO, CDCLIENTE, NRSEQORCAEVE, NRENDCLIORCEVE,"
          "   VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, GERACTPAGAR, ERRO, ERRORENEGFIN)"
          " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"
          " ON CONFLICT (CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE) DO UPDATE SET"
          "   VRORIGRECNOEDIT = excluded.VRORIGRECNOEDIT, VRPERCMULTA = excluded.VRPERCMULTA,"
          "   VRMULTA = excluded.VRMULTA, GERACTPAGAR = excluded.GERACTPAGAR, ERRO = excluded.ERRO,"
          "   ERRORENEGFIN = excluded.ERRORENEGFIN")) {
  Statement st = db.prepare(
      "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRORIGRECNOEDIT, VRMULTA, VRPERCMULTA, GERACTPAGAR, ERRO,"
      "       ERRORENEGFIN FROM CONTRATDISTRATO WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
  st.bindAll(b.branch, b.budget);
  while (st.step()) {
    ComputedValues v;
    v.calculated = st.integer(3);
    v.fine = st.integer(4);
    v.finePercent = st.real(5);
    v.account = st.text(6);
    v.error = st.text(7);
    v.renegotiationError = st.text(8);
    stored_.emplace(ContractText(st), std::move(v));
  }
}

void ReviewRefresh::keep(const PartyKey& k, const ComputedValues& v) {
  const std::string key = k.text();
  kept_.insert(key);
  auto stored = stored_.find(key);
  if (stored != stored_.end() && stored->second.sameRefresh(v)) return;
  if (stored == stored_.end()) ++added_;
  store_.bindAll(b_.branch, b_.budget, k.client, k.seq, k.address, v.calculated, v.negotiated, v.finePercent, v.fine,
                 v.account, v.error, v.renegotiationError);
  store_.run();
  stored_[key] = v;
}

void ReviewRefresh::finish() {
  for (const char* table : {"FORMAPGTO", "CONTRATDISTRATO"}) {
    // Read to the end before the first delete: the deletes change the table being read.
    Statement held = db_.prepare(std::string("SELECT DISTINCT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE FROM ") + table +
                                 " WHERE CDFILIAL = ?1 AND NRORCAEVENTO = ?2");
    held.bindAll(b_.branch, b_.budget);
    std::vector<PartyKey> unkept;
    while (held.step()) {
      PartyKey k{held.text(0), held.text(1), held.text(2)};
      if (!kept_.count(k.text())) unkept.push_back(std::move(k));
    }
    if (unkept.empty()) continue;
    Statement drop = db_.prepare(std::string("DELETE FROM ") + table + kContract);
    for (const PartyKey& k : unkept) drop.bindAll(b_.branch, b_.budget, k.seq, k.client, k.address).run();
  }
  // A budget's first review may fill the table from nothing: planned as
  // empty, reading it back joined to the parties took seconds.
  constexpr std::size_t kManyNewParties = 100;
  if (added_ >= kManyNewParties) db_.refreshStatistics("CONTRATDISTRATO");
}

}  // namespace working_set_store
