#pragma once
// A read-only connection to the host's database: a SQLite file, or a
// PostgreSQL database named by a libpq connection string, for client machines
// that have no database file of their own. Not safe to share between threads.

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "data/packet.h"
#include "data/variant.h"

// Parameter values by upper-cased name; a parameter missing here binds NULL.
using HostQueryParams = std::map<std::string, Variant>;

class HostConnection {
 public:
  virtual ~HostConnection() = default;

  // Runs one statement that only reads, with its ":NAME" parameters bound
  // from `params`, and reads the whole result. Raises Exception naming the
  // query `queryName` when the statement is bad, writes, or is more than one.
  virtual DataPacket Read(const std::string& queryName, const std::string& sql, const HostQueryParams& params) = 0;
};

// True for "postgresql://...", "postgres://..." and libpq's "key=value"
// strings; anything else names a SQLite file.
bool IsPostgresConnectionString(std::string_view database);

// Opens an existing SQLite file (never creates one); raises Exception naming
// the path when it is missing or not a database.
std::unique_ptr<HostConnection> OpenSqliteHost(const std::string& path);

// Connects to PostgreSQL; raises Exception with the server's reason (never
// the password) when it cannot.
std::unique_ptr<HostConnection> OpenPostgresHost(const std::string& conninfo);
