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

// A writer lock this session holds: a writer's own (exclusive), or a
// reader's place behind the writers (shared).
struct HeldLock {
  std::int32_t key;
  bool shared;

  std::string sql(const char* verb) const {
    return std::string("SELECT ") + verb + (shared ? "_shared(" : "(") + std::to_string(kWriterLockClass) + ", " +
           std::to_string(key) + ")";
  }
};

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
  void run() override;
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

  void exec(std::string_view sql) override {
    syncPipeline();
    check(PQexec(conn_, std::string(sql).c_str()));
  }

  std::unique_ptr<StatementBackend> prepare(std::string_view sql) override {
    return std::make_unique<PostgresStatement>(*this, ToPostgresPlaceholders(sql));
  }

  // A writing transaction is SERIALIZABLE: two servers changing the same
  // party cannot both commit; the loser gets a Conflict and runs again. A
  // reading one sees one snapshot and is kept out of the writers' conflict
  // tracking, so a busy list scroll never aborts a rescission.
  void begin(bool writes) override {
    const char* sql = writes ? "BEGIN ISOLATION LEVEL SERIALIZABLE" : "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY";
    if (!heldLocks_.empty() && isOpen()) {
      // The caller just took its locks on this connection, so it is alive:
      // the BEGIN travels with the transaction's first statement.
      sendText(sql);
      inTransaction_ = true;
      return;
    }
    if (!isOpen()) reopen();
    try {
      exec(sql);
    } catch (const ConnectionLost&) {
      // The server ended the idle connection (a restart, a failover):
      // nothing of this transaction was sent yet, so a fresh one carries it.
      reopen();
      exec(sql);
    }
    inTransaction_ = true;
  }
  // The writes still in the pipeline travel with the COMMIT, and so does the
  // release of the writer locks: one round trip ends the writer's turn. A
  // COMMIT that fails aborts the rest of the pipeline, so the locks stay
  // held for the transaction's next attempt.
  void commit() override {
    if (pipelined_.empty() && heldLocks_.empty()) {
      inTransaction_ = false;
      return exec("COMMIT");
    }
    inTransaction_ = false;
    sendText("COMMIT");
    for (const HeldLock& lock : heldLocks_) sendText(lock.sql("pg_advisory_unlock"));
    syncPipeline();
    heldLocks_.clear();
  }
  bool rollback() override {
    inTransaction_ = false;
    if (!isOpen()) return false;
    try {
      syncPipeline();  // what the transaction still had in flight is thrown away with it
    } catch (...) {
      if (!isOpen()) return false;
    }
    Result r(PQexec(conn_, "ROLLBACK"));
    return PQresultStatus(r.get()) == PGRES_COMMAND_OK && PQtransactionStatus(conn_) == PQTRANS_IDLE;
  }

  std::int64_t changes() override {
    syncPipeline();
    return changes_;
  }
  bool isOpen() const override { return conn_ && PQstatus(conn_) == CONNECTION_OK; }
  void reopen() override {
    closeSession();
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
    std::vector<HeldLock> locks;
    for (const std::string& name : names) locks.push_back({WriterLockKey(name), false});
    takeAll(locks);
  }
  // PostgreSQL grants a shared advisory lock only behind the exclusive ones
  // already waiting, so a writer queued on the name is never overtaken.
  void waitForWriters(const std::string& name) override { takeAll({{WriterLockKey(name), true}}); }
  void unlockForWriting() override {
    if (heldLocks_.empty()) return;
    try {
      for (const HeldLock& lock : heldLocks_) exec(lock.sql("pg_advisory_unlock"));
      heldLocks_.clear();
    } catch (...) {
      // A lock that cannot be given back must not stay held: a fresh
      // session drops every lock of this one.
      heldLocks_.clear();
      try {
        reopen();
      } catch (...) {
      }
    }
  }
  // The table names are the server's own constants, never input.
  void refreshStatistics(std::string_view table) override { exec("ANALYZE " + std::string(table)); }

  // A new backend builds its cache of each table's and index's definition
  // on first use, several catalog reads each; a writing call touches a dozen
  // tables. Planning a scan of every table opens each with all its indexes.
  void warmUp() override {
    syncPipeline();
    const Result tables =
        check(PQexec(conn_, "SELECT quote_ident(tablename) FROM pg_tables WHERE schemaname = current_schema()"));
    std::string plans;
    for (int i = 0; i < PQntuples(tables.get()); ++i)
      plans += "EXPLAIN SELECT * FROM " + std::string(PQgetvalue(tables.get(), i, 0)) + ";";
    if (!plans.empty()) exec(plans);
  }
  void lockSchema() override { exec("SELECT pg_advisory_lock(" + std::to_string(kMigrationLockKey) + ")"); }
  void unlockSchema() override { exec("SELECT pg_advisory_unlock(" + std::to_string(kMigrationLockKey) + ")"); }

  // Runs a prepared statement and answers its rows, preparing it on this
  // connection the first time its text is seen with these parameter types.
  // Statements sent before it without waiting run first, in the same round
  // trip.
  Result run(const PostgresText& text, const std::vector<std::optional<std::string>>& values,
             const std::vector<Oid>& types) {
    if (!pipelined_.empty()) {
      send(text, values, types);
      return syncPipeline();
    }
    const std::string& name = preparedName(text, types, [&](const std::string& fresh) {
      check(PQprepare(conn_, fresh.c_str(), text.sql.c_str(), text.parameters, types.data()));
    });
    const std::vector<const char*> pointers = Pointers(values);
    Result r = check(PQexecPrepared(conn_, name.c_str(), text.parameters, pointers.data(), nullptr, nullptr, 0));
    noteChanges(r.get());
    return r;
  }

  // A statement whose rows nobody reads (an INSERT, UPDATE or DELETE): inside
  // a transaction it is sent without waiting (see send); outside one it is
  // its own transaction and runs at once.
  void runWithoutRows(const PostgresText& text, const std::vector<std::optional<std::string>>& values,
                      const std::vector<Oid>& types) {
    if (inTransaction_) return send(text, values, types);
    run(text, values, types);
  }

  // Sends a statement without waiting for it: it runs, in order, before the next statement
  // whose rows are read, before changes() answers, or with the COMMIT, and
  // its error surfaces there. Every kMaxPipelined statements the pipeline is
  // emptied, so the answers waiting in the socket never fill it.
  void send(const PostgresText& text, const std::vector<std::optional<std::string>>& values,
            const std::vector<Oid>& types) {
    if (pipelined_.size() >= kMaxPipelined) syncPipeline();
    enterPipeline();
    const std::string& name = preparedName(text, types, [&](const std::string& fresh) {
      if (!PQsendPrepare(conn_, fresh.c_str(), text.sql.c_str(), text.parameters, types.data())) sendFailed();
      pipelined_.push_back({preparedKey(text, types)});
    });
    const std::vector<const char*> pointers = Pointers(values);
    if (!PQsendQueryPrepared(conn_, name.c_str(), text.parameters, pointers.data(), nullptr, nullptr, 0))
      sendFailed();
    pipelined_.push_back({});
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

  static std::vector<const char*> Pointers(const std::vector<std::optional<std::string>>& values) {
    std::vector<const char*> pointers;
    pointers.reserve(values.size());
    for (const auto& v : values) pointers.push_back(v ? v->c_str() : nullptr);
    return pointers;
  }
  static std::string preparedKey(const PostgresText& text, const std::vector<Oid>& types) {
    std::string key = text.sql;
    for (Oid t : types) key += "\x1f" + std::to_string(t);
    return key;
  }
  // The name this connection prepared the statement under; `prepare` makes a
  // new one the first time.
  template <class Prepare>
  const std::string& preparedName(const PostgresText& text, const std::vector<Oid>& types, Prepare prepare) {
    std::string key = preparedKey(text, types);
    auto it = prepared_.find(key);
    if (it != prepared_.end()) return it->second;
    std::string name = "dx" + std::to_string(++statementsPrepared_);
    prepare(name);
    return prepared_.emplace(std::move(key), std::move(name)).first->second;
  }
  void noteChanges(PGresult* r) {
    if (PQresultStatus(r) == PGRES_COMMAND_OK && *PQcmdTuples(r)) changes_ = std::atoll(PQcmdTuples(r));
  }

  void enterPipeline() {
    if (PQpipelineStatus(conn_) == PQ_PIPELINE_OFF && !PQenterPipelineMode(conn_)) sendFailed();
  }
  void sendText(const std::string& sql) {
    enterPipeline();
    if (!PQsendQueryParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)) sendFailed();
    pipelined_.push_back({});
  }
  [[noreturn]] void sendFailed() {
    const std::string message = PQerrorMessage(conn_);
    closeSession();
    throw ConnectionLost("Erro no banco de dados: " + message);
  }
  // Waits for each lock in turn and records it as held.
  void takeAll(const std::vector<HeldLock>& locks) {
    for (int attempt = 1;; ++attempt) {
      try {
        if (!isOpen()) reopen();
        for (const HeldLock& lock : locks) {
          exec(lock.sql("pg_advisory_lock"));
          heldLocks_.push_back(lock);
        }
        return;
      } catch (const ConnectionLost&) {
        // The locks taken went with the connection; an idle one the database
        // ended is replaced once and the locks taken again from the first.
        heldLocks_.clear();
        if (attempt == 2) throw;
        reopen();
      }
    }
  }
  // Ends the session and all it held: prepared statements, the pipeline, the
  // open transaction, the writer locks. A pipeline whose answers cannot be
  // read any more ends this way; the next use opens a fresh session.
  void closeSession() {
    PQfinish(conn_);
    conn_ = nullptr;
    prepared_.clear();
    pipelined_.clear();
    inTransaction_ = false;
    heldLocks_.clear();  // they ended with the session
  }

  // Waits for everything sent without waiting and answers the last
  // statement's result; throws the first failure, as check() does. A
  // statement prepared in the pipeline that did not get prepared is
  // forgotten, so its next use prepares it again.
  Result syncPipeline() {
    if (pipelined_.empty()) return nullptr;
    if (!PQpipelineSync(conn_)) sendFailed();
    Result last, failure;
    std::size_t answered = 0;
    int nullsInARow = 0;
    for (;;) {
      Result r(PQgetResult(conn_));
      if (!r) {
        // Each statement's answer ends with a null; two in a row mean the
        // connection has nothing more to give.
        if (++nullsInARow == 2 || PQstatus(conn_) != CONNECTION_OK) break;
        continue;
      }
      nullsInARow = 0;
      const ExecStatusType status = PQresultStatus(r.get());
      if (status == PGRES_PIPELINE_SYNC) break;
      if (answered < pipelined_.size()) {
        const Pipelined& sent = pipelined_[answered++];
        const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
        if (!ok && !sent.preparedKey.empty()) prepared_.erase(sent.preparedKey);
      }
      if (status == PGRES_FATAL_ERROR && !failure) failure = std::move(r);
      else if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        noteChanges(r.get());
        last = std::move(r);
      }
    }
    const bool complete = answered == pipelined_.size() && PQstatus(conn_) == CONNECTION_OK;
    pipelined_.clear();
    if (!complete || !PQexitPipelineMode(conn_)) {
      const std::string message = failure ? PQresultErrorMessage(failure.get()) : PQerrorMessage(conn_);
      closeSession();
      throw ConnectionLost("Erro no banco de dados: " + message);
    }
    if (failure) check(failure.release());
    return last;
  }

  // What was sent without waiting: a statement prepared in the pipeline
  // carries its key, to be forgotten if the preparation failed.
  struct Pipelined {
    std::string preparedKey;
  };
  static constexpr std::size_t kMaxPipelined = 256;

  std::string conninfo_;
  PGconn* conn_ = nullptr;
  std::unordered_map<std::string, std::string> prepared_;  // text and types -> statement name
  std::uint64_t statementsPrepared_ = 0;                    // names are never reused
  std::vector<Pipelined> pipelined_;                        // sent, answers not read yet
  bool inTransaction_ = false;                              // between begin() and its commit or rollback
  std::int64_t changes_ = 0;
  std::vector<HeldLock> heldLocks_;  // writer locks held, in the order taken
};

void PostgresStatement::execute() const {
  if (result_) return;
  result_ = connection_.run(text_, values_, types_);
  row_ = -1;
}

void PostgresStatement::run() {
  connection_.runWithoutRows(text_, values_, types_);
  reset();
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
