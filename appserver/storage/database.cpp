#include "storage/database.h"

#include <stdexcept>

#include "storage/statement.h"

namespace {

// Writers wait for each other instead of failing at once.
constexpr int kBusyTimeoutMs = 10000;

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
  throw std::runtime_error("Erro no banco de dados (" + what + "): " + (db ? sqlite3_errmsg(db) : "sem conexão"));
}

}  // namespace

Database::Database(const std::string& path) : path_(path) {
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "sem memória";
    sqlite3_close(db_);
    db_ = nullptr;
    throw std::runtime_error("Não foi possível abrir o banco de dados " + path + ": " + message);
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  exec("PRAGMA journal_mode=WAL");
  exec("PRAGMA synchronous=NORMAL");
  exec("PRAGMA foreign_keys=ON");
  // A whole budget's parties and receivables stay in memory while a method
  // walks them (the default 2 MiB re-reads a large budget page by page).
  exec("PRAGMA cache_size=-65536");
}

Database::~Database() { sqlite3_close(db_); }

void Database::exec(std::string_view sql) {
  std::string text(sql);
  char* error = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "falha";
    sqlite3_free(error);
    throw std::runtime_error("Erro no banco de dados: " + message);
  }
}

Statement Database::prepare(std::string_view sql) { return Statement(db_, sql); }

int Database::userVersion() {
  Statement st = prepare("PRAGMA user_version");
  if (!st.step()) fail(db_, "user_version");
  return static_cast<int>(st.integer(0));
}

void Database::setUserVersion(int version) {
  // PRAGMA takes no bound parameters; the value is an integer we produced.
  exec("PRAGMA user_version=" + std::to_string(version));
}

Transaction::Transaction(Database& db, bool immediate) : db_(db) {
  db_.exec(immediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
  if (open_) {
    try {
      db_.exec("ROLLBACK");
    } catch (...) {
      // Nothing to do: the connection rolls back by itself when closed.
    }
  }
}

void Transaction::commit() {
  db_.exec("COMMIT");
  open_ = false;
}
