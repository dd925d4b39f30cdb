#pragma once
// The schema, as an ordered list of migrations. The database's
// PRAGMA user_version is the number of migrations applied; opening a file
// applies the ones it lacks, each in its own transaction, so running them
// again is harmless.

#include <string_view>
#include <vector>

class Database;

struct Migration {
  int version;
  std::string_view sql;
};

const std::vector<Migration>& Migrations();

// Applies the pending migrations; returns the resulting version. Refuses a
// file written by a newer server.
int Migrate(Database& db);
