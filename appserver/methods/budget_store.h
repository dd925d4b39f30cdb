#pragma once
// The budgets the filter looks up: a branch's budgets, one budget's
// sequences, the company and complementary data of a sequence and what the
// budget charges its parties. Every function runs on the caller's
// transaction and keeps no state, so any thread may call them with its own
// Database.

#include <optional>
#include <string>

#include "data/money.h"
#include "data/packet.h"
#include "methods/key_codes.h"

class Database;

namespace budget_store {

// Every budget sequence of the branch, by budget and sequence (BudgetListShape).
DataPacket BranchBudgets(Database& db, const std::string& branch);

// The budget's sequences in order (BudgetListShape).
DataPacket BudgetSequences(Database& db, const BudgetKey& b);

// The sequence's company when it is related to the branch; no sequence names the first one (CompanyShape).
DataPacket RelatedCompany(Database& db, const BudgetKey& b, const std::optional<std::string>& seq);

// The sequence's complementary data; no sequence names the first one (BudgetDetailShape).
DataPacket SequenceDetail(Database& db, const BudgetKey& b, const std::optional<std::string>& seq);

// The sum of the values of every party of every sequence except the cancelled ones.
Cents ChargedTotal(Database& db, const BudgetKey& b);

}  // namespace budget_store
