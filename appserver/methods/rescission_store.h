#pragma once
// The parties and rescissions of a budget in the database: its parties with
// what each has paid, their pricing, the values a rescission was recorded
// with, the branch's parameters, the operators the changes
// name, and the writes that record a rescission (rescission_writes.cpp); an
// undo's own reads and writes are in rescission_undo_store.h. Every function
// runs on the caller's transaction.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/packet.h"
#include "data/variant.h"
#include "methods/key_codes.h"
#include "methods/party_key.h"
#include "methods/rescission_rules.h"
#include "storage/batch_insert.h"
#include "storage/statement.h"

class Database;

namespace rescission_store {

using ::BudgetKey;

// A contracting party of the budget with the sums its receivables hold now.
struct Party {
  std::string seq, client, address, contact;
  std::string name, personType, registration;                    // from CLIENTE
  std::string substitute, substituteName, substituteType, substituteRegistration;
  Cents charged = 0;  // VRRECECONTOREV
  std::string situation, process, type, origin;
  std::string quotaHolder, quotasTransferred;  // IDCONTRESPCOTAORCA, IDTRANSFCOTAREALI: "S" or "N"
  int guests = 0, quotas = 0;
  Cents paid = 0;            // settled receivables (IDSTATREC "B")
  int settledCount = 0;
  bool renegotiated = false;  // an open receivable from a renegotiation

  PartyKey key() const { return {seq, client, address}; }
};

// The condition of a contract free to enter a rescission, on CONTRATANTE's
// own columns.
inline constexpr const char* kFreeContract =
    "IDCONTPROCESDIST = 'N' AND IDSITUCONTOREV NOT IN ('CANCELADO', 'DEVOLVIDO')";

// The condition of a contract rescinded by a total rescission not yet
// consolidated, on CONTRATANTE's own columns.
inline constexpr const char* kInTotalProcess =
    "IDCONTPROCESDIST = 'S' AND IDTPDISTRATOREALI = 'TOTAL' AND IDORIGEMINCLUSAO <> 'DISTRATO'";

// " AND (sequence, client, address) IN (...)": narrows the rows of a table
// keyed by contract (?1 branch, ?2 budget) to those of the budget's contracts
// meeting `condition` (kFreeContract, kInTotalProcess), for a statement that
// changes them all at once.
std::string OfContractsWhere(const char* condition);

// Which parties LoadParties answers.
enum class PartySet {
  Free,            // not in a rescission: may enter a total one
  InTotalProcess,  // rescinded by a total rescission, not yet consolidated
  InTotalRescission,  // rescinded by a total rescission, consolidated or not
};

// The budget's parties of that set, by sequence, trade name and code.
std::vector<Party> LoadParties(Database& db, const BudgetKey& b, PartySet set);

// One party by its key; nothing when it is not a party of the budget.
std::optional<Party> LoadParty(Database& db, const BudgetKey& b, const std::string& seq, const std::string& client,
                               const std::string& address);

// Which of a client's contracts a call that names no sequence means.
enum class ContractSought {
  kFirst,                 // the first sequence holding the contract (to rescind or substitute it)
  kInPartialRescission,   // one in a partial rescission first, else the first
  kInRescission,          // one in any rescission first, never a child budget's row
};

// The sequence of the party's contract: the one the caller named ("seq" and
// empty mean "look it up"), or else the one `sought` (a client may hold a
// live contract in sequence 01 and a rescinded one in 02); "" when there is
// none. An empty address matches any.
std::string PartySequence(Database& db, const BudgetKey& b, std::string_view namedSequence, const std::string& client,
                          const std::string& address, ContractSought sought = ContractSought::kInRescission);

// The party a call names by its arguments as sent (sequence, or "seq" or
// empty to look it up; client; address), refusing one the budget lacks and
// the row a child budget carries, which is a rescission, not a party.
Party RequireParty(Database& db, const BudgetKey& b, std::string_view seqArg, std::string_view clientArg,
                   std::string_view addressArg);

// The party of `parties` a packet row names: by its whole key when the row
// carries NRSEQORCAEVE and NRENDCLIORCEVE, else the one contract of its
// client. The parties are held by client code: a packet of the whole budget
// is matched without scanning them all per row. Holds a reference to `parties`.
class PartyLookup {
 public:
  explicit PartyLookup(const std::vector<Party>& parties);
  // Null when none matches; a client of several contracts named by its code
  // alone is refused.
  const Party* ofRow(const DataPacket& packet, std::size_t row) const;

 private:
  std::unordered_map<std::string, std::vector<const Party*>> byClient_;
};

// What the party still owes on its open receivables (IDSTATREC "A").
Cents OpenBalance(Database& db, const BudgetKey& b, const Party& p);

// The fine bands of the branch.
std::vector<FineBand> FineBands(Database& db, const std::string& branch);

// A party priced for a total rescission. A party that paid nothing owes no
// fine (there is no payment to apply a percentage to) and is owed nothing.
struct Priced {
  RescissionValues values;
  std::string share;  // "33,33" when no band covers it
  std::string erro;   // ERRO: no fine band for the share paid
  std::string renegotiation;  // ERRORENEGFIN
};
Priced PriceForTotal(const std::vector<FineBand>& bands, const Party& p);

// The values a rescission was recorded with (DISTRATOPARCIAL).
struct Recorded {
  RescissionValues values;
  Cents negotiated = 0;
  std::string childSeq;
  std::string formerSituation;  // the contract's situation before it; empty when not recorded
};
std::optional<Recorded> RecordedValues(Database& db, const BudgetKey& b, const Party& p);

// Every recorded rescission of the budget, by sequence, client and address
// joined with "|" (RecordKey), read at once for the methods that walk all
// parties.
std::string RecordKey(const Party& p);
std::map<std::string, Recorded> RecordedForBudget(Database& db, const BudgetKey& b);

// The recorded values, or for a party rescinded before values were recorded,
// its price now with the calculated value as negotiated.
Recorded RecordedOrPriced(const std::map<std::string, Recorded>& recorded, const Party& p,
                          const std::vector<FineBand>& bands);

// The product a rescission's child budget carries; refuses N_PARAM_TIPOOPER,
// N_PARAM_PRODDISTRADO or N_PARAM_GRUPRODREL when the branch lacks one.
std::string RescissionProduct(Database& db, const std::string& branch);

// A settled payable of the budget to anyone who is not one of its parties.
bool SuppliersPaid(Database& db, const BudgetKey& b);

// The next free sequence of the budget ("02"...); refuses beyond 99.
std::string NextSequence(Database& db, const BudgetKey& b);

// Refuses an operator that is not registered; answers its stored code.
std::string RequireOperator(Database& db, const std::string& typed);

// True when the operator is a supervisor or manager, who may approve an undo.
bool MayApprove(Database& db, const std::string& operatorCode);

// True when the client holds a contract of the budget, in any sequence or state.
bool HoldsContract(Database& db, const BudgetKey& b, const std::string& client);

// How many sequences of the budget the client holds a contract in.
std::int64_t ClientSequenceCount(Database& db, const std::string& branch, const std::string& budget,
                                 const std::string& client);

// The situation of a budget sequence (IDSITUORCEVE); nothing when there is no such sequence.
std::optional<std::string> SequenceSituation(Database& db, const std::string& branch, const std::string& budget,
                                             const std::string& seq);

// What the rules of a partial rescission read of a budget sequence and of a
// contract in it, in one read.
struct PartialRescissionFacts {
  std::string budgetSituation, fixedCost;  // IDSITUORCEVE, IDUTILCUSTOFIXOORCA
  bool partyFound = false;                 // the contract exists; the fields below are its
  std::string situation, process, substitute, quotaHolder, quotasTransferred;
  std::int64_t clientSequences = 0;        // sequences of the budget the client holds a contract in
};
// Nothing when the budget sequence does not exist.
std::optional<PartialRescissionFacts> ReadPartialRescissionFacts(Database& db, const std::string& branch,
                                                                 const std::string& budget, const std::string& seq,
                                                                 const std::string& client,
                                                                 const std::string& address);

// Every contract of the budget, without the rows its child budgets carry
// (they are rescissions, not parties); one read for the whole budget.
std::vector<PartyKey> BudgetContracts(Database& db, const BudgetKey& b);

// The company recorded on the budget sequence; "" when it has none.
std::string SequenceCompany(Database& db, const BudgetKey& b, const std::string& seq);

// True when a child budget the rescission generated is not approved: the
// party's partial one (client given, under sequence `seq` when given) or any
// of the budget's total one (client empty).
bool ChildBudgetUnapproved(Database& db, const BudgetKey& b, const std::string& seq, const std::string& client);

// The day generated accounts may not fall due before: the branch's
// processing date, or the server's own date when the branch has none.
DateTime ProcessingDate(Database& db, const std::string& branch);

// Money as the refusals show it: "1.234,56".
std::string MoneyText(Cents value);

// --- recording a rescission ---

// The child budget a rescission generates as sequence `child` of the budget:
// the parent sequence's budget dated on the branch's business day, with the
// guests and quotas of the parties it carries; its client is `client` when
// given (a partial rescission's party), else the parent's.
void WriteChildBudget(Database& db, const BudgetKey& b, const std::string& parentSeq, const std::string& child,
                      const std::string& client, int guests, int quotas);

// The statements that record parties' rescissions of one budget, prepared
// once for any number of parties; `kind` is "PARCIAL" or "TOTAL". The rows
// it adds reach their tables at finish(), which must come before commit.
class RescissionRecorder {
 public:
  RescissionRecorder(Database& db, const BudgetKey& b, const char* kind);

  // Puts the party's contract in process, cancelled, unless it already is:
  // db.changes() then tells whether this call did it.
  void cancel(const Party& p);
  // Cancels the party's open and planned receivables, keeping the status
  // each had for an undo.
  void cancelReceivables(const Party& p);
  // The party's row in the child budget at its negotiated value.
  void addToChild(const std::string& child, const Party& p, Cents negotiated);
  // The child budget's item `item`: the fine product at the fine's value.
  void addFine(const std::string& child, int item, const std::string& product, Cents fine);
  // The values the rescission was recorded with, and the situation the
  // contract had, for an undo.
  void record(const Party& p, const std::string& child, const RescissionValues& v, Cents negotiated,
              const std::string& operatorCode);
  // Writes the rows added so far.
  void finish();

 private:
  BudgetKey b_;
  Statement cancel_, receivables_;
  BatchInsert member_, item_, record_;
};

// Cancels every contract of the budget free to enter a rescission (the
// parties of LoadParties(PartySet::Free)) at once, as a rescission of `kind`,
// and their open and planned receivables, keeping the status each had for an
// undo; answers how many contracts it cancelled.
std::int64_t CancelFreeParties(Database& db, const BudgetKey& b, const char* kind);


}  // namespace rescission_store
