#pragma once
// The accounts a consolidation generates: for each party of a rescission in
// turn, the receivable or payable of its payment plan on the chosen bank
// account, its rescission closed, its old receivables cancelled or marked
// applied. The statements are prepared once for all the parties of a call;
// one object serves one call, on its transaction.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/variant.h"
#include "methods/consolidation_rules.h"
#include "methods/rescission_store.h"
#include "storage/batch_insert.h"
#include "storage/statement.h"

class Database;

// The branch parameters an account needs, refused by the key the screen
// translates.
struct AccountParameters {
  std::string operation, receivableType, payableOperation, payableType, entrySeries, settlementType;
};

class Consolidator {
 public:
  // `origin` is IDORIGNFORCA of the generated accounts: "I" partial, "T"
  // total; `bankAccount` the CDREDUCONT as chosen, or empty.
  Consolidator(Database& db, const rescission_store::BudgetKey& b, std::string origin,
               const std::string& bankAccount);

  // The processing date: nothing falls due before it.
  DateTime today() const { return today_; }

  // Refuses a party that cannot be consolidated with this bank account:
  // one with settled receivables needs it; one given must be registered for
  // the company of the party's budget.
  void CheckBankAccount(const rescission_store::Party& p, bool required);

  // Generates the party's account in `form` and closes its rescission. The
  // account's rows reach their table at Finish(), which must come before
  // commit.
  void Consolidate(const rescission_store::Party& p, const rescission_store::Recorded& r, const PaymentForm& form);

  // A whole budget's total rescission, all its parties at once: first each
  // party's installments (refused as Consolidate refuses them), then
  // CloseTotalRescission, then GenerateAccount for each.
  std::vector<DueInstallment> Schedule(const rescission_store::Party& p, const rescission_store::Recorded& r,
                                       const PaymentForm& form) const;
  // Closes every contract of the budget's total rescission in process, with
  // what Consolidate does to one party's receivables and child-budget row, in
  // one statement each; refuses when that is not `expected` contracts.
  void CloseTotalRescission(std::size_t expected);
  // The party's account generated.
  void GenerateAccount(const rescission_store::Party& p, const rescission_store::Recorded& r,
                       const std::vector<DueInstallment>& schedule);
  // Writes the accounts generated so far.
  void Finish();

 private:
  std::string CompanyOf(const rescission_store::Party& p);
  std::string NextLaunch();

  Database& db_;
  rescission_store::BudgetKey b_;
  std::string origin_;
  std::string bankAccount_;  // widened; empty when none
  AccountParameters params_;
  DateTime today_;
  std::int64_t lastLaunch_ = 0;                        // highest NRLANCTONF of the branch
  std::map<std::string, std::string> companies_;       // sequence -> CDEMPRESA
  std::map<std::string, std::string> accountNumbers_;  // company -> CDCONTCORR of the chosen account
  Statement close_, closeChild_, cancelOpen_, applySettled_, company_;
  BatchInsert receivable_, payable_;
};
