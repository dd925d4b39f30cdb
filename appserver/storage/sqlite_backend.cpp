#include "storage/sqlite_backend.h"

#include <sqlite3.h>

#include <optional>
#include <stdexcept>
#include <utility>

#include "data/money.h"
#include "storage/storage_errors.h"
#include "storage/wal_checkpointer.h"

namespace storage {
namespace {

// Writers wait for each other instead of failing at once.
constexpr int kBusyTimeoutMs = kBusyWaitSeconds * 1000;

// A lock another connection held past the busy time-out ends in our own
// words; any other failure keeps SQLite's.
[[noreturn]] void ThrowFailure(int rc, const std::string& message) {
  if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) throw Busy();
  throw std::runtime_error("Erro no banco de dados: " + message);
}

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
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

// AMOUNT(cents): integer cents as the REAL amount the packets carry.
void AmountFunction(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) == SQLITE_NULL) return sqlite3_result_null(context);
  sqlite3_result_double(context, FromCents(sqlite3_value_int64(args[0])));
}

class SqliteStatement : public StatementBackend {
 public:
  SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("Erro no banco de dados (preparar): ") + sqlite3_errmsg(db_));
  }
  ~SqliteStatement() override { sqlite3_finalize(stmt_); }

  void bindText(int index, std::string_view text) override {
    check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
  }
  void bindTextInPlace(int index, std::string_view text) override {
    check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
  }
  void bindReal(int index, double value) override { check(sqlite3_bind_double(stmt_, index, value)); }
  void bindInteger(int index, std::int64_t value) override { check(sqlite3_bind_int64(stmt_, index, value)); }
  void bindNull(int index) override { check(sqlite3_bind_null(stmt_, index)); }

  bool step() override {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    std::string message = sqlite3_errmsg(db_);
    sqlite3_reset(stmt_);
    ThrowFailure(rc, message);
  }
  void reset() override {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

  int columnCount() const override { return sqlite3_column_count(stmt_); }
  std::string_view columnName(int col) const override { return sqlite3_column_name(stmt_, col); }
  bool isNull(int col) const override { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
  std::string_view textView(int col) const override {
    const unsigned char* p = sqlite3_column_text(stmt_, col);
    if (!p) return {};
    return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col))};
  }
  double real(int col) const override { return sqlite3_column_double(stmt_, col); }
  std::int64_t integer(int col) const override { return sqlite3_column_int64(stmt_, col); }

 private:
  void check(int rc) {
    if (rc != SQLITE_OK) throw std::runtime_error(std::string("Erro no banco de dados (bind): ") + sqlite3_errmsg(db_));
  }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteConnection : public ConnectionBackend {
 public:
  explicit SqliteConnection(std::string path) : path_(std::move(path)) { open(); }
  // close_v2: a statement still alive keeps the handle until it is finalized
  // instead of the close failing and leaking it.
  ~SqliteConnection() override { sqlite3_close_v2(db_); }

  Dialect dialect() const override { return Dialect::kSqlite; }

  void exec(std::string_view sql) override {
    std::string text(sql);
    char* error = nullptr;
    if (const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error); rc != SQLITE_OK) {
      std::string message = error ? error : "falha";
      sqlite3_free(error);
      ThrowFailure(rc, message);
    }
  }

  std::unique_ptr<StatementBackend> prepare(std::string_view sql) override {
    return std::make_unique<SqliteStatement>(db_, sql);
  }

  // Writers take the write lock at BEGIN, so two writers never deadlock
  // upgrading a read lock.
  void begin(bool writes) override { exec(writes ? "BEGIN IMMEDIATE" : "BEGIN"); }
  void commit() override { exec("COMMIT"); }
  bool rollback() override {
    try {
      exec("ROLLBACK");
    } catch (...) {
    }
    return db_ == nullptr || sqlite3_get_autocommit(db_) != 0;
  }

  std::int64_t changes() override { return sqlite3_changes(db_); }
  bool isOpen() const override { return db_ != nullptr; }
  void reopen() override {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    open();
  }

  int schemaVersion() override {
    SqliteStatement st(db_, "PRAGMA user_version");
    if (!st.step()) Fail(db_, "user_version");
    return static_cast<int>(st.integer(0));
  }
  // PRAGMA takes no bound parameters; the value is an integer we produced.
  void setSchemaVersion(int version) override { exec("PRAGMA user_version=" + std::to_string(version)); }
  // The write transaction each migration runs in already excludes other processes.
  void lockSchema() override {}
  void unlockSchema() override {}
  sqlite3* sqliteHandle() override { return db_; }

 private:
  void open() {
    int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ ? sqlite3_errmsg(db_) : "sem memória";
      sqlite3_close(db_);
      db_ = nullptr;
      throw std::runtime_error("Não foi possível abrir o banco de dados " + path_ + ": " + message);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    if (journalMode("WAL") == "wal") {
      // The log is copied back into the file off the requests' path.
      checkpointer_ = WalCheckpointer::Of(path_);
      checkpointer_->watch(db_);
    }
    // FULL: a commit reaches the disk before the client hears it succeeded, so a
    // power loss cannot take back a rescission already acknowledged.
    exec("PRAGMA synchronous=FULL");
    exec("PRAGMA foreign_keys=ON");
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function(db_, "CENTS", 1, flags, nullptr, CentsFunction, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function(db_, "AMOUNT", 1, flags, nullptr, AmountFunction, nullptr, nullptr) != SQLITE_OK)
      Fail(db_, "funções de dinheiro");
    // A whole budget's parties and receivables stay in memory while a method
    // walks them (the default 2 MiB re-reads a large budget page by page).
    exec("PRAGMA cache_size=-65536");
    // A statement that changes a whole budget's rows keeps each page's old
    // content until it ends, to undo it alone; in memory rather than a
    // temporary file written page by page.
    exec("PRAGMA temp_store=MEMORY");
  }

  // Sets the journal mode and answers the one in force (an in-memory
  // database keeps "memory").
  std::string journalMode(const char* mode) {
    SqliteStatement st(db_, std::string("PRAGMA journal_mode=") + mode);
    return st.step() ? std::string(st.textView(0)) : "";
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  // Released after db_ closes: the last connection's close copies the log back.
  std::shared_ptr<WalCheckpointer> checkpointer_;
};

}  // namespace

std::unique_ptr<ConnectionBackend> OpenSqlite(const std::string& path) {
  return std::make_unique<SqliteConnection>(path);
}

}  // namespace storage
