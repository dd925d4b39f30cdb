#pragma once
// The server's side of the shared eligibility rules (protocol/eligibility.h):
// what it reads of the database to apply them, and the refusals it answers
// with. Every writing method calls these before it changes anything, so a
// call that the screen would not have offered is refused the same way.

#include <string>

class Database;

// The texts of the refusals, for the methods and their tests.
extern const char* const kBudgetLockedMessage;
extern const char* const kAlreadyInRescissionMessage;
extern const char* const kOnlyTotalRescissionMessage;
extern const char* const kNotGeneratedMessage;
extern const char* const kSubstituteRecordedMessage;
extern const char* const kQuotasNotTransferredMessage;

// True when the client is a party of more than one sequence of the budget.
bool ClientInSeveralSequences(Database& db, const std::string& branch, const std::string& budget,
                              const std::string& client);

// Refuses when the budget sequence's situation allows no change. Codes in
// their stored form; a sequence the budget lacks is left to the caller.
void RefuseIfBudgetLocked(Database& db, const std::string& branch, const std::string& budget, const std::string& seq);

// Refuses a partial rescission of the contract (stored codes) that the
// screen would not offer: its sequence locked, a budget rescinded only as a
// whole, a party whose contract is not generated or that has a substitute
// recorded, and a quota holder who has not transferred her quotas and holds
// no other sequence of the budget.
void RefuseUnlessPartialRescissionAllowed(Database& db, const std::string& branch, const std::string& budget,
                                          const std::string& seq, const std::string& client,
                                          const std::string& address);
