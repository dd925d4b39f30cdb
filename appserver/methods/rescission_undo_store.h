#pragma once
// What undoing a rescission reads and writes in the parties-and-rescissions
// store: the commissions and settlements that block it, the accounts the
// consolidation generated, and the writes that give a party back its contract
// and remove the child budget that carried the rescission. Every function
// runs on the caller's transaction.

#include <string>

#include "data/money.h"
#include "methods/rescission_store.h"

class Database;

namespace rescission_store {

// True when a commission of the budget was generated: on any of its sequences
// (client empty), or on the sequences that hold a contract of `client`.
bool CommissionGenerated(Database& db, const BudgetKey& b, const std::string& client);

// The child budget of a rescission recorded before its values were kept,
// found by the party's row in it; "" when there is none.
std::string ChildSequenceByPartyRow(Database& db, const BudgetKey& b, const Party& p);

// True when an account generated for the party with origin `origin` ("I"
// partial, "T" total) was settled, wholly or in part.
bool GeneratedAccountSettled(Database& db, const BudgetKey& b, const Party& p, const std::string& origin);

// The sum of the receivables and payables generated for the party with
// origin `origin`.
Cents GeneratedAmount(Database& db, const BudgetKey& b, const Party& p, const std::string& origin);

// True when the budget's closing generated receivables for the party
// (origin "F").
bool ClosingGeneratedReceivables(Database& db, const BudgetKey& b, const Party& p);

// True when sequence `seq` of the budget still holds a party.
bool SequenceHasParties(Database& db, const BudgetKey& b, const std::string& seq);

// --- undoing ---

// Deletes the receivables and payables generated for the party with origin `origin`.
void RemoveGeneratedAccounts(Database& db, const BudgetKey& b, const Party& p, const std::string& origin);

// Gives the party's receivables back the status and settlement flag the
// rescission kept for an undo.
void RestoreCancelledReceivables(Database& db, const BudgetKey& b, const Party& p);

// Deletes the party's row in child budget `childSeq`.
void RemoveFromChildBudget(Database& db, const BudgetKey& b, const std::string& childSeq, const Party& p);

// Deletes the values the party's rescission was recorded with.
void RemoveRecordedValues(Database& db, const BudgetKey& b, const Party& p);

// Takes the party's contract out of its rescission, in situation `situation`,
// if it is still in the process state it was read with; false when another
// operator changed it meanwhile.
bool FreeParty(Database& db, const BudgetKey& b, const Party& p, const std::string& situation);

// Deletes sequence `seq` of the budget with its items and commissions.
void RemoveSequence(Database& db, const BudgetKey& b, const std::string& seq);

}  // namespace rescission_store
