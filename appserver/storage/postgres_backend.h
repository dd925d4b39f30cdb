#pragma once
// The PostgreSQL backend (libpq): statements prepared on the server with
// values bound as parameters, text results. Writing transactions run at
// SERIALIZABLE, a serialization failure or deadlock raised as
// storage::Conflict so the method can run again; reading ones see one
// REPEATABLE READ snapshot, read only. The schema version lives in the table
// VERSAOESQUEMA, and an advisory lock keeps two servers from migrating at
// once. Not thread-safe: one connection per thread.

#include <memory>
#include <string>

#include "storage/backend.h"

namespace storage {

// `conninfo`: a libpq URI or keyword string. Throws when it cannot connect.
std::unique_ptr<ConnectionBackend> OpenPostgres(const std::string& conninfo);

}  // namespace storage
