#include "storage/database.h"

#include <algorithm>

#include "storage/database_target.h"
#include "storage/postgres_backend.h"
#include "storage/sqlite_backend.h"
#include "storage/statement.h"

namespace {

std::unique_ptr<storage::ConnectionBackend> Open(const std::string& target) {
  return storage::IsPostgresTarget(target) ? storage::OpenPostgres(target) : storage::OpenSqlite(target);
}

}  // namespace

Database::Database(const std::string& target) : target_(target), backend_(Open(target)) {}

Database::~Database() = default;

void Database::exec(std::string_view sql) { backend_->exec(sql); }

Statement Database::prepare(std::string_view sql) { return Statement(backend_->prepare(sql)); }

std::int64_t Database::changes() const { return backend_->changes(); }

storage::Dialect Database::dialect() const { return backend_->dialect(); }

int Database::userVersion() { return backend_->schemaVersion(); }

void Database::setUserVersion(int version) { backend_->setSchemaVersion(version); }

void Database::reopen() { backend_->reopen(); }

Transaction::Transaction(Database& db, bool writes) : db_(db) { db_.backend().begin(writes); }

Transaction::~Transaction() {
  if (!open_) return;
  // A ROLLBACK that failed may leave the transaction open on a connection this
  // thread keeps: it would hold its locks and refuse every later BEGIN. A
  // fresh connection ends it; one that cannot open is replaced on next use.
  bool ended = false;
  try {
    ended = db_.backend().rollback();
  } catch (...) {
  }
  if (!ended) {
    try {
      db_.reopen();
    } catch (...) {
    }
  }
}

void Transaction::commit() {
  db_.backend().commit();
  open_ = false;
}

WriterLocks::WriterLocks(Database& db, std::vector<std::string> names) : db_(db) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  try {
    db_.backend().lockForWriting(names);
  } catch (...) {
    db_.backend().unlockForWriting();  // the ones taken before the wait gave up
    throw;
  }
}

WriterLocks::~WriterLocks() { db_.backend().unlockForWriting(); }

ReaderTurn::ReaderTurn(Database& db, const std::string& name) : db_(db) {
  try {
    db_.backend().waitForWriters(name);
  } catch (...) {
    db_.backend().unlockForWriting();
    throw;
  }
}

ReaderTurn::~ReaderTurn() { db_.backend().unlockForWriting(); }
