#pragma once
// A copy of a SQLite database taken while servers use it: SQLite's online
// backup copies every page in one read transaction, so the copy is the
// database as it stood at one instant (every change committed before the
// backup began is in it) and writers are not held up under WAL. The copy is
// written beside OUT, checked with PRAGMA integrity_check, and only then
// renamed to OUT, so OUT is never a half-written or damaged file.

#include <cstdint>
#include <string>

struct BackupReport {
  std::uint64_t pages = 0;
  std::uint64_t bytes = 0;
  std::string integrity;  // what integrity_check answered: "ok"
};

// Copies the database `source` into the new file `out`. Throws
// std::runtime_error, leaving no `out`, when `source` is a PostgreSQL
// database (pg_dump backs those up), when `out` exists, or when the copy
// fails or is found damaged.
BackupReport BackupDatabase(const std::string& source, const std::string& out);
