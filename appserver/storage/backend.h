#pragma once
// What a storage backend provides behind Database and Statement: a connection
// that runs SQL, prepares statements and frames transactions, and the
// statements it prepares. One SQLite and one PostgreSQL implementation; the
// methods only see Database and Statement. Not thread-safe: each thread uses
// its own connection.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace storage {

enum class Dialect { kSqlite, kPostgres };

class StatementBackend {
 public:
  virtual ~StatementBackend() = default;
  virtual void bindText(int index, std::string_view text) = 0;
  // Binds a text the caller keeps alive and unchanged until the statement is
  // reset: a backend that can read it in place does, without a copy.
  virtual void bindTextInPlace(int index, std::string_view text) { bindText(index, text); }
  virtual void bindReal(int index, double value) = 0;
  virtual void bindInteger(int index, std::int64_t value) = 0;
  virtual void bindNull(int index) = 0;
  virtual bool step() = 0;
  // Runs a statement whose rows are not read, then resets it. A backend may
  // send it without waiting; its failure then surfaces at the next statement
  // whose rows are read, at changes() or at commit, always before commit
  // returns.
  virtual void run() {
    while (step()) {
    }
    reset();
  }
  virtual void reset() = 0;
  virtual int columnCount() const = 0;
  virtual std::string_view columnName(int col) const = 0;
  virtual bool isNull(int col) const = 0;
  virtual std::string_view textView(int col) const = 0;
  virtual double real(int col) const = 0;
  virtual std::int64_t integer(int col) const = 0;
};

class ConnectionBackend {
 public:
  virtual ~ConnectionBackend() = default;
  virtual Dialect dialect() const = 0;
  virtual void exec(std::string_view sql) = 0;
  virtual std::unique_ptr<StatementBackend> prepare(std::string_view sql) = 0;
  virtual void begin(bool writes) = 0;
  virtual void commit() = 0;
  // Ends the open transaction; false when that failed and it may still be open.
  virtual bool rollback() = 0;
  // Rows changed by the last INSERT, UPDATE or DELETE.
  virtual std::int64_t changes() = 0;
  virtual bool isOpen() const = 0;
  virtual void reopen() = 0;
  // The number of migrations applied, and recording a new one.
  virtual int schemaVersion() = 0;
  virtual void setSchemaVersion(int version) = 0;
  // Serializes migrations of every process on the same database until unlockSchema.
  virtual void lockSchema() = 0;
  virtual void unlockSchema() = 0;
  // Queues this connection's writer behind every other writer, in this and
  // other processes, that names one of `names`: each is waited for in the
  // order given and held until unlockForWriting, across transactions that
  // fail, or until a transaction commits (a backend may give them back in the
  // same round trip as its COMMIT). Taken
  // before BEGIN, so the transaction's snapshot already holds the previous
  // writer's commit. Throws storage::Busy when a wait outlasts the limit.
  // SQLite lets one writer at a time into the file already: nothing to take.
  virtual void lockForWriting(const std::vector<std::string>& names) { (void)names; }
  // Queues this connection's reader behind the writers of `name`, those
  // holding it and those already waiting, and keeps new writers waiting
  // until it is released as lockForWriting's are: a read of what is being
  // written waits its turn rather than compete with the writer for the
  // machine, and sees the writer's commit. Taken before BEGIN.
  virtual void waitForWriters(const std::string& name) { (void)name; }
  // Releases what lockForWriting and waitForWriters took; never throws.
  virtual void unlockForWriting() {}
  // Brings the planner's statistics of `table` up to date, after a
  // transaction has just filled it: PostgreSQL would otherwise plan the
  // next reads of it, in this transaction, as of an empty table. SQLite
  // plans without statistics: nothing to do.
  virtual void refreshStatistics(std::string_view table) { (void)table; }
  // Reads the definitions of the schema's tables and indexes into this
  // session, so that its first calls do not each pay for reading them.
  // SQLite reads the whole schema at a connection's first statement.
  virtual void warmUp() {}
  virtual sqlite3* sqliteHandle() { return nullptr; }
};

}  // namespace storage
