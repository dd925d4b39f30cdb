#include "hostdb/host_database.h"

#include <sqlite3.h>

#include <filesystem>

#include "data/exceptions.h"

namespace {

// The application server may be writing the same file; wait for it rather
// than fail a read.
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

THostDatabase::~THostDatabase() { Close(); }

void THostDatabase::Open(const std::string& path) {
  Close();
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec))
    throw Exception("Banco de dados do host não encontrado: " + path);

  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    // A file we may only read still serves the branch look-ups.
    sqlite3_close(db);
    db = nullptr;
    rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  }
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Opening reads nothing; touch the schema so a bad file fails here.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) {
    const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw Exception("Não foi possível abrir o banco de dados do host " + path + ": " + reason);
  }
  db_ = db;
  path_ = path;
}

void THostDatabase::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  path_.clear();
}

sqlite3* THostDatabase::Handle() const {
  if (!db_) throw Exception("O banco de dados do host não está aberto.");
  return db_;
}

THostDatabase& dtmDBGeral() {
  static THostDatabase database;
  return database;
}
