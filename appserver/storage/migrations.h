#pragma once
// The schema, as an ordered list of migrations, written once per dialect with
// the same numbers. The database records the number applied (SQLite's
// PRAGMA user_version, PostgreSQL's VERSAOESQUEMA); opening it applies the ones
// it lacks, each in its own transaction, so running them again is harmless,
// and servers starting at once on one PostgreSQL database take turns.

#include <string_view>
#include <vector>

#include "storage/backend.h"

class Database;

struct Migration {
  int version;
  std::string_view sql;
};

const std::vector<Migration>& Migrations(storage::Dialect dialect = storage::Dialect::kSqlite);

// Applies the pending migrations; returns the resulting version. Refuses a
// database written by a newer server.
int Migrate(Database& db);
