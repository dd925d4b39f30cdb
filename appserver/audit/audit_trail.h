#pragma once
// The audit trail (AUDITORIA): one row per change of data, written by the
// method on its own transaction so the row exists exactly when the change
// does. Who: the operator of the calling session (a method's `operador`
// argument is checked to be that operator before it runs). Every function
// runs on the caller's transaction; safe from several threads as far as each
// uses its own connection.

#include <optional>
#include <string>
#include <vector>

class Database;

struct AuditEntry {
  std::string method;      // the remote method, e.g. "DesfazerDistrato"
  std::string operatorCode; // the calling session's operator
  std::string branch, budget, party;  // party: client code, or "" for the whole budget
  std::string amounts;     // readable, e.g. "negociado 1.234,56; multa 123,45"
  std::string approver;    // who approved an undo; "" otherwise
  // The contract the row is about, with `party`: a client may hold several
  // contracts in one budget. Empty for the whole budget.
  std::string seq, address;
};

// Appends the row, dated now (UTC).
void WriteAudit(Database& db, const AuditEntry& entry);


struct AuditRow {
  std::string when, operatorCode, method, branch, budget, party, amounts, approver;
  std::string seq, address;  // the contract of `party`; empty for rows written before contracts were named
};

// How the trail names a contract: "3203" alone for a row written before
// contracts were named, else "3203 seq 01 end 2".
std::string AuditPartyText(const std::string& client, const std::string& seq, const std::string& address);

// The rows from `since` (a date "YYYY-MM-DD", inclusive) on, newest first;
// every row when `since` is empty.
std::vector<AuditRow> ReadAudit(Database& db, const std::string& since);
