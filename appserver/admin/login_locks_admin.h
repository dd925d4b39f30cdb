#pragma once
// The login locks for the server's command line: `--locks` lists them,
// `--unlock CODE` clears those of an operator (or of an address). The server
// reads the locks from the database at every login, so a lock cleared here
// stops refusing at once, on every server sharing the database.

#include <cstdint>
#include <string>

// The counts and locks as a table for the terminal, at `now` (seconds since
// 1970, UTC); a line saying there are none when there are none.
std::string LoginLocksReport(const std::string& dbPath, std::int64_t now);

// Clears every count and lock of operator `code` (trimmed, upper-cased), or
// of the client address `code`; says what it did.
std::string UnlockLogin(const std::string& dbPath, const std::string& code);
