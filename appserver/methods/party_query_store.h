#pragma once
// What the screen reads about a budget's parties before it enables its
// commands, and the party list itself: substitute parties, the branch's
// rescission and substitution parameters, open receivables. Every function
// runs on the caller's transaction and keeps no state, so any thread may
// call them with its own Database.

#include <optional>
#include <string>

#include "data/packet.h"
#include "methods/key_codes.h"

class Database;

namespace party_query_store {

// True when a party of the budget came in by a substitution; a sequence or client ("" for any) narrows it.
bool HasSubstituteParty(Database& db, const BudgetKey& b, const std::optional<std::string>& seq,
                        const std::string& client);

// True when the branch has the settlement type that reverses settlements on a rescission.
bool BranchReversesSettlements(Database& db, const std::string& branch);

// True when the branch has the adjustment type of a rescission.
bool BranchAdjustsRescissions(Database& db, const std::string& branch);

// True when the branch has the substitution's settlement type, adjustment type and product.
bool BranchSubstitutes(Database& db, const std::string& branch);

// True when the registration number is a registered client's other than `client`.
bool OtherClientRegistered(Database& db, const std::string& registration, const std::string& client);

// True when the client has an open receivable in the budget; no sequence names any.
bool HasOpenReceivable(Database& db, const BudgetKey& b, const std::optional<std::string>& seq,
                       const std::string& client);

// The budget's parties of every sequence, by sequence, trade name, client and address (PartyShape).
DataPacket PartyList(Database& db, const BudgetKey& b);

}  // namespace party_query_store
