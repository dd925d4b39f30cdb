#include "storage/database.h"

#include <stdexcept>

#include "data/money.h"
#include "storage/statement.h"

namespace {

// Writers wait for each other instead of failing at once.
constexpr int kBusyTimeoutMs = 10000;

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
  throw std::runtime_error("Erro no banco de dados (" + what + "): " + (db ? sqlite3_errmsg(db) : "sem conexão"));
}

// CENTS(amount): a REAL amount as integer cents by the money rule; NULL stays
// NULL, and a value that is not money is an error (a migration using it then
// changes nothing).
void CentsFunction(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) == SQLITE_NULL) return sqlite3_result_null(context);
  std::optional<Cents> cents = ToCents(sqlite3_value_double(args[0]));
  if (!cents) return sqlite3_result_error(context, "valor que não é dinheiro", -1);
  sqlite3_result_int64(context, *cents);
}

// MONEY(cents): integer cents as the REAL amount the packets carry.
void MoneyFunction(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) == SQLITE_NULL) return sqlite3_result_null(context);
  sqlite3_result_double(context, FromCents(sqlite3_value_int64(args[0])));
}

}  // namespace

Database::Database(const std::string& path) : path_(path) { open(); }

void Database::open() {
  const std::string& path = path_;
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
  // FULL: a commit reaches the disk before the client hears it succeeded, so a
  // power loss cannot take back a rescission already acknowledged.
  exec("PRAGMA synchronous=FULL");
  exec("PRAGMA foreign_keys=ON");
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  if (sqlite3_create_function(db_, "CENTS", 1, flags, nullptr, CentsFunction, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(db_, "MONEY", 1, flags, nullptr, MoneyFunction, nullptr, nullptr) != SQLITE_OK)
    fail(db_, "funções de dinheiro");
  // A whole budget's parties and receivables stay in memory while a method
  // walks them (the default 2 MiB re-reads a large budget page by page).
  exec("PRAGMA cache_size=-65536");
}

// close_v2: a statement still alive keeps the handle until it is finalized
// instead of the close failing and leaking it.
Database::~Database() { sqlite3_close_v2(db_); }

void Database::reopen() {
  sqlite3_close_v2(db_);
  db_ = nullptr;
  open();
}

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
  if (!open_) return;
  try {
    db_.exec("ROLLBACK");
  } catch (...) {
  }
  // A ROLLBACK that failed leaves the transaction open on a connection this
  // thread keeps: it would hold its locks and refuse every later BEGIN. A
  // fresh connection ends it; one that cannot open is replaced on next use.
  if (db_.isOpen() && !sqlite3_get_autocommit(db_.handle())) {
    try {
      db_.reopen();
    } catch (...) {
    }
  }
}

void Transaction::commit() {
  db_.exec("COMMIT");
  open_ = false;
}
