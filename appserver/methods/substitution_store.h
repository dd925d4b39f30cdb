#pragma once
// What the substitution of a contracting party reads and writes: the
// client's contracts in the budget, the clients that may take a party's
// place, the branch's substitution parameters, the party's open receivables,
// and the writes that put the substitute in the party's place or hand it a
// quota holder's quotas. Every function runs on the caller's transaction.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/money.h"
#include "methods/rescission_store.h"

class Database;

namespace substitution_store {

using rescission_store::BudgetKey;
using rescission_store::Party;

// One of a client's contracts in the budget.
struct Contract {
  std::string seq, client, address, situation;
  double charged = 0;       // VRRECECONTOREV as an amount
  std::string quotaHolder;  // IDCONTRESPCOTAORCA
};

// The client's contracts in the budget that were not cancelled, by sequence
// and address.
std::vector<Contract> LiveContracts(Database& db, const BudgetKey& b, const std::string& client);

// A registered client as the look-ups show it.
struct Client {
  std::string registration, tradeName, corporateName, code, personType;
};

// Every registered client that is neither `client` nor a party of the
// budget, by trade name and code.
std::vector<Client> ClientsOutsideBudget(Database& db, const BudgetKey& b, const std::string& client);

// The clients registered under these digits, of person type `personType`
// when it is "F" or "J".
std::vector<Client> ClientsByRegistration(Database& db, const std::string& digits, const std::string& personType);

// The trade name of a registered client; nothing when it is not registered.
std::optional<std::string> ClientTradeName(Database& db, const std::string& code);

// The branch's substitution parameters, each "" when not set; nothing when
// the branch has no parameters.
struct Parameters {
  std::string writeOffType, adjustmentType, product;  // CDTPBXSUBSTCONTORE, CDTPAJUSUBCONTORE, CDPRODSUBSTITUICAO
};
std::optional<Parameters> SubstitutionParameters(Database& db, const std::string& branch);

// The party's open receivables owned by the company: their sum and the
// earliest due day (0 when there is none).
struct OpenReceivables {
  Cents total = 0;
  double earliestDue = 0;
};
OpenReceivables OpenReceivablesOf(Database& db, const BudgetKey& b, const Party& p, const std::string& company);

// --- substituting ---

// Cancels the party's contract for substitute `substitute`, with no guests
// or quotas left, if it is still a generated contract outside any rescission;
// false when another operator changed it meanwhile.
bool CancelForSubstitute(Database& db, const BudgetKey& b, const Party& p, const std::string& substitute);

// What a substitute takes over from the party it replaces.
struct TakenOver {
  Cents charged = 0;
  std::int64_t guests = 0, quotas = 0;
  std::string quotaHolder, quotasTransferred;
};

// The substitute's row in the party's sequence and address: a generated
// contract outside any rescission, included by substitution.
void InsertSubstituteParty(Database& db, const BudgetKey& b, const Party& replaced, const std::string& code,
                           const std::string& tradeName, const TakenOver& taken);

// Hands the party's open and planned receivables to the substitute.
void MoveLiveReceivables(Database& db, const BudgetKey& b, const Party& p, const std::string& substitute);

// The quota holder hands `value`, `guests` and `quotas` to `receiver`, if its
// contract is still generated, outside any rescission and its quotas not yet
// transferred; false when another operator changed it meanwhile.
bool HandOverQuotas(Database& db, const BudgetKey& b, const Party& p, const std::string& receiver, Cents value,
                    std::int64_t guests, std::int64_t quotas);

// Cancels the party's open receivables owned by the company.
void CancelOpenReceivables(Database& db, const BudgetKey& b, const Party& p, const std::string& company);

// The one open receivable (origin "G") a quota transfer generates for its
// receiver, launch `launch`, due on `due`; the bank account when one was given.
struct TransferReceivable {
  std::string launch, company, seq, client, address;
  double due = 0;
  Cents value = 0;
  std::optional<std::string> bankAccount;
};
void InsertTransferReceivable(Database& db, const BudgetKey& b, const TransferReceivable& r);

}  // namespace substitution_store
