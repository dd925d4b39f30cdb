#pragma once
// The working set of a budget's rescission review: the parties' values being
// negotiated (CONTRATDISTRATO) and their payment plans (FORMAPGTO), kept
// between the dialog's calls until the rescission is recorded, consolidated
// or undone. Every function runs on the caller's transaction; none keeps
// state between calls, so any thread may call them with its own Database.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/money.h"
#include "data/packet.h"
#include "data/variant.h"
#include "methods/key_codes.h"
#include "methods/party_key.h"
#include "session/stamp_table.h"
#include "storage/statement.h"

class Database;

// Drops the budget's whole review: the operation it prepared is over.
void ClearWorkingSet(Database& db, const BudgetKey& b);

namespace working_set_store {

// A contract of the working set with the substitute its party records ("" for none).
struct ReviewedContract {
  PartyKey key;
  std::string substitute;
};

// The budget's contracts under review, in no particular order.
std::vector<ReviewedContract> ReviewedContracts(Database& db, const BudgetKey& b);
// Those of one client: a look-up of one party need not read the whole budget.
std::vector<ReviewedContract> ReviewedContractsOf(Database& db, const BudgetKey& b, const std::string& client);

// The parties under review as the dialog shows them (ContractorValuesShape).
DataPacket PartiesPacket(Database& db, const BudgetKey& b);

// A contract's installments as the dialog shows them; no contract answers the empty plan.
DataPacket PlanPacket(Database& db, const BudgetKey& b, const std::optional<PartyKey>& party);

// What a party's values and plan look like now, one text per contract, by PartyKey::text().
using PartyStamps = StampTable;

// The stamps of every contract under review.
PartyStamps ReadStamps(Database& db, const BudgetKey& b);
// The stamp of one contract alone (none when it is not under review): a
// change to one party need not read the whole budget's.
PartyStamps ReadStamps(Database& db, const BudgetKey& b, const PartyKey& only);

// The stored values of one contract that the confirmation checks against.
struct StoredValues {
  Cents calculated = 0;  // VRORIGRECNOEDIT: the ceiling of the negotiated value
  Cents negotiated = 0;  // VRORIGREC
  std::string mode;      // IDTPFORMAPGTO
};

// The stored values of a contract; nothing when it is not under review.
std::optional<StoredValues> ValuesOf(Database& db, const BudgetKey& b, const PartyKey& k);

// One installment of a plan.
struct Installment {
  DateTime due;
  Cents value = 0;
};

// A contract's stored installments, in order.
std::vector<Installment> InstallmentsOf(Database& db, const BudgetKey& b, const PartyKey& k);

// Deletes a contract's installments; answers how many there were.
std::int64_t DeletePlan(Database& db, const BudgetKey& b, const PartyKey& k);

// Replaces a contract's installments by `rows`, numbered from 1.
void ReplacePlan(Database& db, const BudgetKey& b, const PartyKey& k, const std::vector<Installment>& rows);

// What the operator confirmed for a party: the negotiated value and the payment form.
struct Confirmation {
  Cents negotiated = 0;
  std::string mode, startMonth;
  double day = 1, count = 1;
};

// A contract's confirmation as stored, with its installments in order.
struct ConfirmedContract {
  Confirmation confirmation;
  std::vector<Installment> plan;
};

// Every contract of the working set with what was confirmed for it, by
// PartyKey::text(); two reads however many contracts there are.
std::map<std::string, ConfirmedContract> Confirmations(Database& db, const BudgetKey& b);

// Stores a contract's confirmation.
void StoreConfirmation(Database& db, const BudgetKey& b, const PartyKey& k, const Confirmation& c);

// The values the pricing computed for a party, as the review starts with them.
struct ComputedValues {
  Cents calculated = 0, negotiated = 0, fine = 0;
  double finePercent = 0;
  std::string account, error, renegotiationError;

  // The columns a refresh rewrites are the same (the negotiated value is
  // only stored for a party new to the working set).
  bool sameRefresh(const ComputedValues& o) const {
    return calculated == o.calculated && fine == o.fine && finePercent == o.finePercent && account == o.account &&
           error == o.error && renegotiationError == o.renegotiationError;
  }
};

// Refreshes the working set from the parties sent: each one sent is stored
// (a new one as sent; one already there keeps what was confirmed: negotiated
// value, payment form, plan), then those not sent leave it with their plans.
// Reads the working set once, when it begins, and answers from that read
// what the caller holds afterwards unless the refresh changed it. Prepares
// its statements once for any number of parties; not thread-safe.
class ReviewRefresh {
 public:
  // `partiesSent`: how many parties the review sends, to size the maps once.
  ReviewRefresh(Database& db, const BudgetKey& b, std::size_t partiesSent);

  // Stores one party sent; a party already stored with these values is
  // left as it is, so resuming an unchanged review writes nothing.
  void keep(const PartyKey& k, const ComputedValues& v);
  // Ends the refresh: drops the plans, then the values, of the parties not
  // kept, and after many new parties brings the database's statistics of the
  // working set up to date, so the reads that follow are planned for them.
  void finish();
  // The working set as finish() left it: the parties (PartiesPacket's) and
  // their stamps (ReadStamps's). Each call once, after finish().
  DataPacket takeParties();
  PartyStamps takeStamps();

 private:
  Database& db_;
  BudgetKey b_;
  static constexpr std::size_t kNotHeld = static_cast<std::size_t>(-1);
  // The position in held_ of the contract `k`, or kNotHeld.
  std::size_t find(const PartyKey& k);

  Statement store_;
  // What the working set held when the refresh began, in the order it was
  // read, then what this refresh added: every contract it holds is here.
  // Which were kept is marked here rather than written to the database, so
  // keeping a party costs one statement at most.
  struct Held {
    PartyKey key;
    ComputedValues values;
    bool kept = false;
  };
  std::vector<Held> held_;
  // A resumed review usually sends its parties in the order the working set
  // reads them, so each is looked for first where the last one found left
  // off (next_); held_'s positions by PartyKey::text() are only built, once,
  // when a party is not there (indexed_).
  std::size_t next_ = 0;
  bool indexed_ = false;
  std::unordered_map<std::string, std::size_t> positions_;
  // The parties and their stamps as the refresh began; the stamps less the
  // contracts finish() dropped, right for every contract but those in written_.
  DataPacket parties_;
  PartyStamps stamps_;
  bool dropped_ = false;  // finish() dropped some contract
  std::unordered_map<std::string, PartyKey> planned_;  // contracts with installments when the refresh began
  std::vector<PartyKey> written_;  // contracts whose values this refresh stored
  std::size_t added_ = 0;          // parties new to the working set
};

}  // namespace working_set_store
