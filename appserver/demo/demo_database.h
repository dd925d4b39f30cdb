#pragma once
// The demo database: branches, companies, bank accounts, parameters,
// operators and budgets whose parties show every state the workspace's
// commands depend on (README lists them). Dates sit around its business day.

#include <optional>
#include <string>

class Database;
class DemoOperations;
class DemoWriter;

// Recreates the file at `path` with the demo data; with `bulkParties` > 0
// also one large budget of that many parties (12 receivables each). The demo
// represents 08/12/2026 unless `businessDay` (days since 30/12/1899) moves it:
// every branch's processing date and every date written move together.
//
// It is written in three steps. What this module does not create is written
// in one transaction: reference data, budgets and their parties as the
// selling system leaves them, and the rescissions that stand for ones
// recorded before the server kept their values. Then the module's own
// methods, called in process, rescind and consolidate. Last, in one more
// transaction, what other systems did afterwards (approvals, commissions,
// settlements) and the bulk budget; the audit trail starts empty.
void WriteDemoDatabase(const std::string& path, int bulkParties, std::optional<double> businessDay = std::nullopt);

// The pieces. The writing ones expect an open transaction; the operating
// ones run each method in its own.
void WriteReferenceData(Database& db);
void WriteDemoClients(DemoWriter& out);
void WriteDemoBudgets(DemoWriter& out);
void WriteSubstitutionBudget(DemoWriter& out);
void WriteUndoBudgets(DemoWriter& out);
void OperateDemoBudgets(DemoOperations& ops);
void OperateUndoBudgets(DemoOperations& ops);
void FinishDemoBudgets(Database& db);
void FinishUndoBudgets(Database& db);
void WriteBulkBudget(DemoWriter& out, int parties);

// Where the pieces put things, for the README and the tests.
namespace demo {
inline constexpr const char* kBranch = "0001";
inline constexpr const char* kOtherBranch = "0002";
inline constexpr const char* kMainBudget = "0000000101";     // every party state
inline constexpr const char* kLockedBudget = "0000000102";   // sequence situation "1"
inline constexpr const char* kFixedCostBudget = "0000000103";  // IDUTILCUSTOFIXOORCA "N"
inline constexpr const char* kOtherBranchBudget = "0000000201";
inline constexpr const char* kTotalBudget = "0000000104";             // free for a total rescission
inline constexpr const char* kTotalInProcessBudget = "0000000105";    // total rescission to consolidate
inline constexpr const char* kUnapprovedChildBudget = "0000000106";   // child budget not approved
inline constexpr const char* kSecondSequenceBudget = "0000000107";    // a rescinded contract in sequence 02
inline constexpr const char* kUndoPartialBudget = "0000000171";     // consolidated partial: undo
inline constexpr const char* kUndoTotalBudget = "0000000172";       // consolidated total: undo
inline constexpr const char* kUndoCommissionBudget = "0000000173";  // undo refused: commission generated
inline constexpr const char* kUndoSettledBudget = "0000000174";     // undo refused: generated account settled
inline constexpr const char* kSubstitutionBudget = "0000000150";  // every substitution mode
inline constexpr const char* kBulkBudget = "0000009999";
inline constexpr const char* kSupervisor = "SUPERVISOR";
inline constexpr const char* kSupervisorPassword = "DISTRATO";
}  // namespace demo
