#pragma once
// The accounts the screens look up: a company's bank accounts and the
// receivables and payables of a party. Every function runs on the caller's
// transaction and keeps no state, so any thread may call them with its own
// Database.

#include <optional>
#include <string>

#include "data/packet.h"

class Database;

namespace account_store {

// The company's bank account of the reduced code `code` (BankAccountShape).
DataPacket BankAccount(Database& db, const std::string& company, const std::string& code);

// The company's bank accounts whose code starts with `typed`, plus the one of `code`, by code (BankAccountShape).
DataPacket BankAccountsStartingWith(Database& db, const std::string& company, const std::string& typed,
                                    const std::string& code);

// A party's contract in a company's accounts.
struct PartyAccounts {
  std::string company, budget, seq, client, address;
};

// Which of the party's accounts belong on the screen.
struct AccountsShown {
  bool rescission = false;  // the party is in a rescission: cancelled and transferred ones too
  bool transfer = false;    // the party took quotas over: the generated ones too
};

// The account number (CDCONTCORR) of the company's bank account `code`
// (CDREDUCONT); nothing when the company has no such account.
std::optional<std::string> BankAccountNumber(Database& db, const std::string& company, const std::string& code);

// The party's receivables by due date, launch, installment and sequence (ReceivableShape).
DataPacket Receivables(Database& db, const PartyAccounts& p, const AccountsShown& shown);

// The party's payables by due date, launch, installment and sequence (PayableShape).
DataPacket Payables(Database& db, const PartyAccounts& p, const AccountsShown& shown);

}  // namespace account_store
