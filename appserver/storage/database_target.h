#pragma once
// Which backend a --db value names: a PostgreSQL URI (postgresql://,
// postgres://) or libpq keyword string ("host=... dbname=...") is PostgreSQL;
// anything else is the path of a SQLite file. Thread-safe.

#include <string>

namespace storage {

bool IsPostgresTarget(const std::string& target);

// The target as it may be shown in messages and logs: without its password.
std::string RedactedTarget(const std::string& target);

}  // namespace storage
