#pragma once
// The SQLite backend: one file, WAL journal copied back by a thread of the
// file's own (WalCheckpointer), a busy timeout (many clients write the same
// file), foreign keys on, and the money functions CENTS(real)
// -> integer cents and AMOUNT(cents) -> real amount by the one rounding rule
// of platform/data. The schema version is PRAGMA user_version. Not
// thread-safe: one connection per thread.

#include <memory>
#include <string>

#include "storage/backend.h"

namespace storage {

std::unique_ptr<ConnectionBackend> OpenSqlite(const std::string& path);

}  // namespace storage
