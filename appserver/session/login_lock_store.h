#pragma once
// The SQL of failed logins and their locks (BLOQUEIOLOGIN) and of the
// addresses operators logged in from (LOGINCONHECIDO). One row per key: an
// operator from one address, an operator from any address (address ''), an
// address whatever the operator (operator ''). Times are seconds since 1970.
// Every function runs inside the caller's transaction.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Database;

struct LoginLockRow {
  std::string operatorCode;  // '' for an address whatever the operator
  std::string address;       // '' for an operator from any address
  int failures = 0;          // within the window begun at windowStart
  std::int64_t windowStart = 0;
  std::int64_t lockedUntil = 0;  // 0: not locked
};

std::optional<LoginLockRow> ReadLoginLock(Database& db, const std::string& operatorCode, const std::string& address);
void WriteLoginLock(Database& db, const LoginLockRow& row);
void DeleteLoginLock(Database& db, const std::string& operatorCode, const std::string& address);
// Rows neither locked at `now` nor counting failures since `windowsFrom`.
void ForgetStaleLoginLocks(Database& db, std::int64_t now, std::int64_t windowsFrom);
// Every row locked at `now` or counting failures, by operator and address.
std::vector<LoginLockRow> ListLoginLocks(Database& db, std::int64_t now);
// Clears every row of that operator or of that address; how many.
int ClearLoginLocks(Database& db, const std::string& operatorOrAddress);

// When `operatorCode` last logged in from `address`; nothing when never.
std::optional<std::int64_t> LastLoginFrom(Database& db, const std::string& operatorCode, const std::string& address);
void RecordLoginFrom(Database& db, const std::string& operatorCode, const std::string& address, std::int64_t when);
