#pragma once
// What the rescission statement reads: the party's recorded rescission (or
// the trace an undone one left in the audit trail), the installments it
// cancelled, the accounts its consolidation generated and the party's
// history. Every function runs on the caller's transaction.

#include <optional>
#include <string>
#include <vector>

#include "data/money.h"
#include "methods/party_key.h"
#include "methods/rescission_store.h"

class Database;

namespace statement_store {

// Where the party's rescission stands.
enum class RescissionState { Started, Consolidated, Undone };

// The company, branch and budget sequence the statement is headed with.
struct Heading {
  std::string company, companyRegistration, branchName;
  std::string budgetClient;  // the client the budget (the event) is for
  std::optional<double> eventDay, processingDay;  // days since 30/12/1899
};
Heading ReadHeading(Database& db, const rescission_store::BudgetKey& b, const std::string& seq);

// True when the party handed its quotas to the client recorded as its
// substitute (who is then the quotas' receiver, not a substitute).
bool QuotasTransferred(Database& db, const rescission_store::BudgetKey& b, const PartyKey& k);

// The party's full name (NMRAZSOCCLIE).
std::string CorporateName(Database& db, const std::string& client);

// The rescission's values: recorded for one in force; for an undone one what
// the audit trail kept (negotiated value, fine and account), the rest unknown.
struct Values {
  std::optional<Cents> paid, calculated, negotiated, fine;
  std::optional<double> percent;
  std::string account;   // CNTRECEBER / CNTPAGAR, "" when unknown
  std::string childSeq;  // the child budget that carries it
};

// True when the party's partial rescission was undone (the trail holds its
// undo).
bool WasUndone(Database& db, const rescission_store::BudgetKey& b, const PartyKey& k);
Values UndoneValues(Database& db, const rescission_store::BudgetKey& b, const PartyKey& k);

// The parties of the budget whose rescission was undone, in no rescission now.
std::vector<PartyKey> UndoneParties(Database& db, const rescission_store::BudgetKey& b);

struct CancelledInstallment {
  std::string launch, installment, document;
  double due = 0;
  Cents value = 0;
};
// The party's receivables the rescission cancelled, by due date.
std::vector<CancelledInstallment> CancelledInstallments(Database& db, const rescission_store::BudgetKey& b,
                                                        const PartyKey& k);

struct GeneratedInstallment {
  std::string kind;  // "RECEBER" or "PAGAR"
  std::string document, installment, status;
  double due = 0;
  Cents value = 0;
  std::string bank, agency, account, accountName;  // receivables: the bank account chosen
};
// The accounts the consolidation generated for the party, by due date.
std::vector<GeneratedInstallment> GeneratedAccounts(Database& db, const rescission_store::BudgetKey& b,
                                                    const PartyKey& k);

struct HistoryEntry {
  std::string whenUtc, method, operatorCode, operatorName, approverCode, approverName, amounts;
  bool wholeBudget = false;  // a row of the budget's total rescission
};
// The party's rows of the audit trail, oldest first; with `total`, also the
// budget's rows of its total rescission.
std::vector<HistoryEntry> History(Database& db, const rescission_store::BudgetKey& b, const PartyKey& k, bool total);

// An amount as the audit trail writes it ("negociado 1.234,56; ..."), read
// back after `label`; none when the text lacks it.
std::optional<Cents> AmountAfter(const std::string& text, const std::string& label);

// A UTC stamp of the trail ("2026-12-08 14:05:00") in the server's local time
// as the screens write it ("08/12/2026 11:05"); the stamp itself when it does
// not read as one.
std::string LocalStampText(const std::string& utc);

}  // namespace statement_store
