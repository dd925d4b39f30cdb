#include "methods/working_set_store.h"

#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

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

namespace {

// The parties under review, with what the dialog shows of their clients;
// after the packet's columns, the stored amounts in cents. The substitutes'
// columns are read apart (kSubstitutesQuery): joining every party to its
// contract to find the few with a substitute took a sixth of resuming a
// whole budget's review.
constexpr const char* kPartiesQuery =
    "SELECT AMOUNT(d.VRORIGREC), d.VRPERCMULTA, AMOUNT(d.VRMULTA), d.GERACTPAGAR, AMOUNT(d.VRORIGRECNOEDIT),"
    "       c.IDTPIJURCLIE,"
    "       d.CDCLIENTE, c.NRINSJURCLIE, d.ERRO, NULL, NULL, NULL,"
    "       NULL, d.NRDIAPGTOFIXO, d.NRPARCELAS, d.IDMESINIPGTO, d.IDTPFORMAPGTO,"
    "       d.ERRORENEGFIN, c.NMFANTCLIE, d.NRSEQORCAEVE, d.NRENDCLIORCEVE,"
    "       d.VRORIGRECNOEDIT, d.VRORIGREC, d.VRMULTA"
    "  FROM CONTRATDISTRATO d"
    "  LEFT JOIN CLIENTE c ON c.CDCLIENTE = d.CDCLIENTE"
    " WHERE d.CDFILIAL = ?1 AND d.NRORCAEVENTO = ?2";

// Where kPartiesQuery puts the columns a review reads back.
namespace party_column {
constexpr int kFinePercent = 1, kAccount = 3, kClient = 6, kError = 8, kSubstitute = 9, kFixedDay = 13,
              kInstallments = 14, kStartMonth = 15, kMode = 16, kRenegotiationError = 17, kTradeName = 18, kSeq = 19,
              kAddress = 20, kCalculatedCents = 21, kNegotiatedCents = 22, kFineCents = 23;
// The substitute's own columns, from kSubstitute on.
constexpr int kSubstituteColumns = 4;
}  // namespace party_column

// The budget's contracts that have a substitute: the contract, then the
// substitute's columns in the packet's order.
constexpr const char* kSubstitutesQuery =
    "SELECT p.NRSEQORCAEVE, p.CDCLIENTE, p.NRENDCLIORCEVE,"
    "       p.CDCLICONTSUBORE, s.NRINSJURCLIE, s.IDTPIJURCLIE, s.NMFANTCLIE"
    "  FROM CONTRATANTE p"
    "  LEFT JOIN CLIENTE s ON s.CDCLIENTE = p.CDCLICONTSUBORE"
    " WHERE p.CDFILIAL = ?1 AND p.NRORCAEVENTO = ?2 AND p.CDCLICONTSUBORE IS NOT NULL";

// A packet row's contract as its cells hold it.
std::string ContractOfCells(const Variant& seq, const Variant& client, const Variant& address) {
  return PartyKey::Text(seq.asText(), client.asText(), address.asText());
}

// Fills in the substitute of each party that has one.
void AddSubstitutes(Database& db, const BudgetKey& b, DataPacket& parties) {
  using namespace party_column;
  const PacketShape& shape = ContractorValuesShape();
  Statement st = db.prepare(kSubstitutesQuery);
  st.bindAll(b.branch, b.budget);
  // The contract converted as the packet's cells are, so the two compare.
  std::unordered_map<std::string, std::vector<Variant>> substitutes;
  while (st.step()) {
    std::vector<Variant> cells;
    for (int i = 0; i < kSubstituteColumns; ++i) cells.push_back(CellValue(st, 3 + i, shape[kSubstitute + i]));
    substitutes.emplace(ContractOfCells(CellValue(st, 0, shape[kSeq]), CellValue(st, 1, shape[kClient]),
                                        CellValue(st, 2, shape[kAddress])),
                        std::move(cells));
  }
  if (substitutes.empty()) return;
  for (std::size_t r = 0; r < parties.rows.size(); ++r) {
    PacketRows::RowRef row = parties.rows[r];
    auto it = substitutes.find(ContractOfCells(row[kSeq], row[kClient], row[kAddress]));
    if (it == substitutes.end()) continue;
    for (int i = 0; i < kSubstituteColumns; ++i) row[kSubstitute + i] = it->second[static_cast<std::size_t>(i)];
  }
}

DataPacket ReadParties(Database& db, const BudgetKey& b, const RowVisitor& eachRow) {
  using namespace party_column;
  Statement st = db.prepare(kPartiesQuery);
  st.bindAll(b.branch, b.budget);
  // By sequence, trade name, client and address.
  DataPacket parties = QueryPacketOrdered(st, ContractorValuesShape(), {kSeq, kTradeName, kClient, kAddress}, eachRow);
  AddSubstitutes(db, b, parties);
  return parties;
}

}  // namespace

DataPacket PartiesPacket(Database& db, const BudgetKey& b) { return ReadParties(db, b, {}); }

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

// Where a query puts the values a stamp covers: six numbers, then five texts.
struct StampColumns {
  int numbers[6];
  int texts[5];
};

// VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA, NRDIAPGTOFIXO, NRPARCELAS;
// GERACTPAGAR, ERRO, ERRORENEGFIN, IDTPFORMAPGTO, IDMESINIPGTO.
constexpr StampColumns kStampedValueColumns{{3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13}};
constexpr const char* kStampedValues =
    "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, VRORIGRECNOEDIT, VRORIGREC, VRPERCMULTA, VRMULTA,"
    "       NRDIAPGTOFIXO, NRPARCELAS, GERACTPAGAR, ERRO, ERRORENEGFIN, IDTPFORMAPGTO, IDMESINIPGTO"
    "  FROM CONTRATDISTRATO";
constexpr StampColumns kPartyColumns{
    {party_column::kCalculatedCents, party_column::kNegotiatedCents, party_column::kFinePercent,
     party_column::kFineCents, party_column::kFixedDay, party_column::kInstallments},
    {party_column::kAccount, party_column::kError, party_column::kRenegotiationError, party_column::kMode,
     party_column::kStartMonth}};

// A row's values as its stamp, written over `stamp`: the columns side by
// side, the numbers as their bits and each text behind its length. A stamp
// is only ever compared with another made here, and building it here spares
// the database a text conversion per value. The caller's buffer is reused
// row after row, so a whole budget's stamps cost no allocation each.
std::string_view ValuesStamp(const Statement& st, const StampColumns& columns, std::string& stamp) {
  stamp.clear();
  for (int col : columns.numbers) AppendNumber(stamp, st.real(col));
  for (int col : columns.texts) AppendText(stamp, st.textView(col));
  return stamp;
}

// About how many bytes a contract's key and stamp take, to size a table once.
constexpr std::size_t kStampBytes = 128;

// Adds each contract's installments to its stamp in `stamps`: the budget's,
// or `only`'s when given. `planned`, when given, collects every contract
// that has installments.
void AddPlanStamps(Database& db, const BudgetKey& b, const PartyKey* only, PartyStamps& stamps,
                   std::unordered_map<std::string, PartyKey>* planned = nullptr) {
  Statement plan = PrepareForBudgetOr(
      db, "SELECT NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA, DTVENCIMENTO, VRPARCELA FROM FORMAPGTO", b, only,
      " ORDER BY NRSEQORCAEVE, CDCLIENTE, NRENDCLIORCEVE, NRPARCELA");
  std::string installment;
  while (plan.step()) {
    std::string key = ContractText(plan);
    installment.clear();
    for (int col = 3; col <= 5; ++col) AppendNumber(installment, plan.real(col));
    stamps.append(key, installment);
    if (planned && !planned->count(key))
      planned->emplace(std::move(key), PartyKey{plan.text(0), plan.text(1), plan.text(2)});
  }
}

// The stamps of the budget's contracts, or of `only` when given.
PartyStamps ReadStampsOf(Database& db, const BudgetKey& b, const PartyKey* only) {
  PartyStamps stamps;
  Statement st = PrepareForBudgetOr(db, kStampedValues, b, only);
  std::string stamp;
  while (st.step()) stamps.set(ContractText(st), ValuesStamp(st, kStampedValueColumns, stamp));
  AddPlanStamps(db, b, only, stamps);
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

ReviewRefresh::ReviewRefresh(Database& db, const BudgetKey& b, std::size_t partiesSent)
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
  using namespace party_column;
  // A resumed review holds about the parties it is sent.
  held_.reserve(partiesSent);
  stamps_.reserve(partiesSent, kStampBytes);
  std::string stamp;
  parties_ = ReadParties(db, b, [this, &stamp](const Statement& st) {
    PartyKey key{st.text(kSeq), st.text(kClient), st.text(kAddress)};
    ComputedValues v;
    v.calculated = st.integer(kCalculatedCents);
    v.finePercent = st.real(kFinePercent);
    v.fine = st.integer(kFineCents);
    v.account = st.text(kAccount);
    v.error = st.text(kError);
    v.renegotiationError = st.text(kRenegotiationError);
    stamps_.set(key.text(), ValuesStamp(st, kPartyColumns, stamp));
    held_.push_back({std::move(key), std::move(v), false});
  });
  AddPlanStamps(db, b, nullptr, stamps_, &planned_);
}

std::size_t ReviewRefresh::find(const PartyKey& k) {
  if (next_ < held_.size() && held_[next_].key == k) return next_++;
  if (!indexed_) {
    positions_.reserve(held_.size());
    for (std::size_t i = 0; i < held_.size(); ++i) positions_.emplace(held_[i].key.text(), i);
    indexed_ = true;
  }
  auto it = positions_.find(k.text());
  if (it == positions_.end()) return kNotHeld;
  next_ = it->second + 1;
  return it->second;
}

void ReviewRefresh::keep(const PartyKey& k, const ComputedValues& v) {
  const std::size_t at = find(k);
  if (at != kNotHeld) {
    held_[at].kept = true;
    if (held_[at].values.sameRefresh(v)) return;
  }
  store_.bindAll(b_.branch, b_.budget, k.client, k.seq, k.address, v.calculated, v.negotiated, v.finePercent, v.fine,
                 v.account, v.error, v.renegotiationError);
  store_.run();
  if (at != kNotHeld) {
    held_[at].values = v;
  } else {
    ++added_;
    held_.push_back({k, v, true});
    if (indexed_) positions_.emplace(k.text(), held_.size() - 1);
  }
  written_.push_back(k);
}

void ReviewRefresh::finish() {
  // What the working set holds is known from the read the refresh began
  // with and its own writes: the contracts to drop need no read.
  auto drop = [this](const char* table, const std::vector<PartyKey>& unkept) {
    if (unkept.empty()) return;
    Statement st = db_.prepare(std::string("DELETE FROM ") + table + kContract);
    for (const PartyKey& k : unkept) {
      st.bindAll(b_.branch, b_.budget, k.seq, k.client, k.address).run();
      stamps_.erase(k.text());
    }
    dropped_ = true;
  };
  std::vector<PartyKey> unplanned, unstored;
  for (const auto& [text, key] : planned_) {
    const std::size_t at = find(key);
    if (at == kNotHeld || !held_[at].kept) unplanned.push_back(key);
  }
  for (const Held& held : held_)
    if (!held.kept) unstored.push_back(held.key);
  // The plans first: they belong to the values.
  drop("FORMAPGTO", unplanned);
  drop("CONTRATDISTRATO", unstored);
  // A budget's first review may fill the table from nothing: planned as
  // empty, reading it back joined to the parties took seconds.
  constexpr std::size_t kManyNewParties = 100;
  if (added_ >= kManyNewParties) db_.refreshStatistics("CONTRATDISTRATO");
}

DataPacket ReviewRefresh::takeParties() {
  if (written_.empty() && !dropped_) return std::move(parties_);
  return PartiesPacket(db_, b_);
}

PartyStamps ReviewRefresh::takeStamps() {
  // The rows this refresh wrote are read again, one by one while they are
  // few, with the whole working set once they are many.
  constexpr std::size_t kFewWritten = 64;
  if (written_.size() > kFewWritten) return ReadStamps(db_, b_);
  for (const PartyKey& k : written_) {
    const std::string text = k.text();
    stamps_.set(text, ReadStamps(db_, b_, k).find(text).value_or(""));
  }
  return std::move(stamps_);
}

}  // namespace working_set_store
