#include "storage/postgres_backend.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "storage/database_target.h"
#include "storage/placeholders.h"
#include "storage/storage_errors.h"

namespace storage {
namespace {

// Type oids the bound values declare; text stays untyped so the server takes
// the column's type, as a quoted literal would.
constexpr Oid kInt8Oid = 20;
constexpr Oid kFloat8Oid = 701;
constexpr Oid kUnknownOid = 0;

// Any number: the key of the advisory lock migrations hold ("DXR10900").
constexpr long long kMigrationLockKey = 0x4458523130393030LL;

// Writers' locks use PostgreSQL's two-number advisory keys, a space apart
// from the migrations' one-number key: this class ("DXRW") and a hash of the
// name. Two names that share a hash only make their writers queue together.
constexpr int kWriterLockClass = 0x44585257;

std::int32_t WriterLockKey(const std::string& name) {
  std::uint32_t hash = 2166136261u;  // FNV-1a: the same on every server
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  return static_cast<std::int32_t>(hash);
}

struct ResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

void IgnoreNotice(void*, const char*) {}

class PostgresConnection;

class PostgresStatement : public StatementBackend {
 public:
  PostgresStatement(PostgresConnection& connection, PostgresText text)
      : connection_(connection), text_(std::move(text)),
        values_(static_cast<std::size_t>(text_.parameters)),
        types_(static_cast<std::size_t>(text_.parameters), kUnknownOid) {}

  void bindText(int index, std::string_view text) override { set(index, std::string(text), kUnknownOid); }
  void bindReal(int index, double value) override { set(index, RealText(value), kFloat8Oid); }
  void bindInteger(int index, std::int64_t value) override { set(index, std::to_string(value), kInt8Oid); }
  void bindNull(int index) override { set(index, std::nullopt, kUnknownOid); }

  bool step() override;
  void reset() override {
    result_.reset();
    row_ = -1;
    std::fill(values_.begin(), values_.end(), std::nullopt);
    std::fill(types_.begin(), types_.end(), kUnknownOid);
  }

  // The columns are known once the statement ran: asked before the first
  // step, it runs with the values bound so far.
  int columnCount() const override {
    execute();
    return PQnfields(result_.get());
  }
  std::string_view columnName(int col) const override {
    execute();
    return PQfname(result_.get(), col);
  }
  bool isNull(int col) const override { return !current() || PQgetisnull(result_.get(), row_, col); }
  std::string_view textView(int col) const override {
    if (!current()) return {};
    return {PQgetvalue(result_.get(), row_, col), static_cast<std::size_t>(PQgetlength(result_.get(), row_, col))};
  }
  double real(int col) const override {
    std::string_view v = textView(col);
    if (v == "t") return 1;
    if (v.empty() || v == "f") return 0;
    return std::strtod(std::string(v).c_str(), nullptr);
  }
  std::int64_t integer(int col) const override {
    std::string_view v = textView(col);
    if (v == "t") return 1;
    if (v.empty() || v == "f") return 0;
    std::int64_t n = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec == std::errc() && end == v.data() + v.size()) return n;
    return static_cast<std::int64_t>(real(col));  // a decimal, cut as SQLite cuts it
  }

 private:
  static std::string RealText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
  }
  void set(int index, std::optional<std::string> value, Oid type) {
    if (index < 1 || index > text_.parameters)
      throw std::runtime_error("Erro no banco de dados (bind): parâmetro " + std::to_string(index) + " inexistente");
    values_[static_cast<std::size_t>(index - 1)] = std::move(value);
    types_[static_cast<std::size_t>(index - 1)] = type;
  }
  bool current() const { return result_ && row_ >= 0 && row_ < PQntuples(result_.get()); }
  void execute() const;

  PostgresConnection& connection_;
  PostgresText text_;
  std::vector<std::optional<std::string>> values_;
  std::vector<Oid> types_;
  mutable Result result_;
  mutable int row_ = -1;
};

class PostgresConnection : public ConnectionBackend {
 public:
  explicit PostgresConnection(std::string conninfo) : conninfo_(std::move(conninfo)) { open(); }
  ~PostgresConnection() override { PQfinish(conn_); }

  Dialect dialect() const override { return Dialect::kPostgres; }

  void exec(std::string_view sql) override { check(PQexec(conn_, std::string(sql).c_str())); }

  std::unique_ptr<StatementBackend> prepare(std::string_view sql) override {
    return std::make_unique<PostgresStatement>(*this, ToPostgresPlaceholders(sql));
  }

  // A writing transaction is SERIALIZABLE: two servers changing the same
  // party cannot both commit; the loser gets a Conflict and runs again. A
  // reading one sees one snapshot and is kept out of the writers' conflict
  // tracking, so a busy list scroll never aborts a rescission.
  void begin(bool writes) override {
    const char* sql = writes ? "BEGIN ISOLATION LEVEL SERIALIZABLE" : "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY";
    if (!isOpen()) reopen();
    try {
      exec(sql);
    } catch (const ConnectionLost&) {
      // The server ended the idle connection (a restart, a failover):
      // nothing of this transaction was sent yet, so a fresh one carries it.
      reopen();
      exec(sql);
    }
  }
  void commit() override { exec("COMMIT"); }
  bool rollback() override {
    if (!isOpen()) return false;
    Result r(PQexec(conn_, "ROLLBACK"));
    return PQresultStatus(r.get()) == PGRES_COMMAND_OK && PQtransactionStatus(conn_) == PQTRANS_IDLE;
  }

  std::int64_t changes() const override { return changes_; }
  bool isOpen() const override { return conn_ && PQstatus(conn_) == CONNECTION_OK; }
  void reopen() override {
    PQfinish(conn_);
    conn_ = nullptr;
    prepared_.clear();
    writerLocks_.clear();  // they ended with the session
    open();
  }

  int schemaVersion() override {
    Result exists = check(PQexec(conn_, "SELECT to_regclass('versaoesquema') IS NOT NULL"));
    if (std::string_view(PQgetvalue(exists.get(), 0, 0)) != "t") return 0;
    Result r = check(PQexec(conn_, "SELECT COALESCE(MAX(NRVERSAO), 0) FROM VERSAOESQUEMA"));
    return std::atoi(PQgetvalue(r.get(), 0, 0));
  }
  void setSchemaVersion(int version) override {
    exec("CREATE TABLE IF NOT EXISTS VERSAOESQUEMA (NRVERSAO INTEGER PRIMARY KEY,"
         " DTHRAPLICACAO TIMESTAMPTZ NOT NULL DEFAULT now())");
    const std::string value = std::to_string(version);
    const char* values[] = {value.c_str()};
    check(PQexecParams(conn_, "INSERT INTO VERSAOESQUEMA (NRVERSAO) VALUES ($1::integer)", 1, nullptr, values,
                       nullptr, nullptr, 0));
  }
  void lockForWriting(const std::vector<std::string>& names) override {
    for (int attempt = 1;; ++attempt) {
      try {
        if (!isOpen()) reopen();
        for (const std::string& name : names) {
          const std::int32_t key = WriterLockKey(name);
          exec("SELECT pg_advisory_lock(" + std::to_string(kWriterLockClass) + ", " + std::to_string(key) + ")");
          writerLocks_.push_back(key);
        }
        return;
      } catch (const ConnectionLost&) {
        // The locks taken went with the connection; an idle one the database
        // ended is replaced once and the names taken again from the first.
        writerLocks_.clear();
        if (attempt == 2) throw;
        reopen();
      }
    }
  }
  void unlockForWriting() override {
    if (writerLocks_.empty()) return;
    try {
      for (std::int32_t key : writerLocks_)
        exec("SELECT pg_advisory_unlock(" + std::to_string(kWriterLockClass) + ", " + std::to_string(key) + ")");
      writerLocks_.clear();
    } catch (...) {
      // A lock that cannot be given back must not stay held: a fresh
      // session drops every lock of this one.
      writerLocks_.clear();
      try {
        reopen();
      } catch (...) {
      }
    }
  }
  void lockSchema() override { exec("SELECT pg_advisory_lock(" + std::to_string(kMigrationLockKey) + ")"); }
  void unlockSchema() override { exec("SELECT pg_advisory_unlock(" + std::to_string(kMigrationLockKey) + ")"); }

  // Runs a prepared statement, preparing it on this connection the first time
  // its text is seen with these parameter types.
  Result run(const PostgresText& text, const std::vector<std::optional<std::string>>& values,
             const std::vector<Oid>& types) {
    std::string key = text.sql;
    for (Oid t : types) key += "\x1f" + std::to_string(t);
    auto it = prepared_.find(key);
    if (it == prepared_.end()) {
      std::string name = "dx" + std::to_string(prepared_.size() + 1);
      check(PQprepare(conn_, name.c_str(), text.sql.c_str(), text.parameters, types.data()));
      it = prepared_.emplace(std::move(key), std::move(name)).first;
    }
    std::vector<const char*> pointers;
    pointers.reserve(values.size());
    for (const auto& v : values) pointers.push_back(v ? v->c_str() : nullptr);
    Result r = check(PQexecPrepared(conn_, it->second.c_str(), text.parameters, pointers.data(), nullptr, nullptr, 0));
    if (PQresultStatus(r.get()) == PGRES_COMMAND_OK && *PQcmdTuples(r.get())) changes_ = std::atoll(PQcmdTuples(r.get()));
    return r;
  }

 private:
  void open() {
    conn_ = PQconnectdb(conninfo_.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
      std::string message = conn_ ? PQerrorMessage(conn_) : "sem memória";
      while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
      PQfinish(conn_);
      conn_ = nullptr;
      throw std::runtime_error("Não foi possível abrir o banco de dados " + RedactedTarget(conninfo_) + ": " +
                               message);
    }
    PQsetNoticeProcessor(conn_, IgnoreNotice, nullptr);
    PQsetClientEncoding(conn_, "UTF8");
    // Dates and amounts travel as text: every double with all its digits.
    exec("SET extra_float_digits = 3");
    // A row or table another program keeps locked is waited for as long as
    // SQLite waits, then the method is refused in our words.
    exec("SET lock_timeout = '" + std::to_string(kBusyWaitSeconds) + "s'");
  }

  // Throws when the command failed: Conflict for a serialization failure or
  // deadlock, ConnectionLost when the connection broke.
  Result check(PGresult* raw) {
    Result r(raw);
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return r;
    const char* state = r ? PQresultErrorField(r.get(), PG_DIAG_SQLSTATE) : nullptr;
    std::string message = r ? PQresultErrorMessage(r.get()) : PQerrorMessage(conn_);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    const std::string text = "Erro no banco de dados: " + message;
    if (state && (std::strcmp(state, "40001") == 0 || std::strcmp(state, "40P01") == 0)) throw Conflict(text);
    if (state && std::strcmp(state, "55P03") == 0) throw Busy();  // lock_not_available
    if (PQstatus(conn_) != CONNECTION_OK) throw ConnectionLost(text);
    throw std::runtime_error(text);
  }

  std::string conninfo_;
  PGconn* conn_ = nullptr;
  std::unordered_map<std::string, std::string> prepared_;  // text and types -> statement name
  std::int64_t changes_ = 0;
  std::vector<std::int32_t> writerLocks_;  // writer lock keys held, in the order taken
};

void PostgresStatement::execute() const {
  if (result_) return;
  result_ = connection_.run(text_, values_, types_);
  row_ = -1;
}

bool PostgresStatement::step() {
  execute();
  ++row_;
  return row_ < PQntuples(result_.get());
}

}  // namespace

std::unique_ptr<ConnectionBackend> OpenPostgres(const std::string& conninfo) {
  return std::make_unique<PostgresConnection>(conninfo);
}

}  // namespace storage
