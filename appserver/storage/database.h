#pragma once
// A connection to the server's database, SQLite or PostgreSQL behind one
// interface: the methods prepare SQL with ?N parameters, bind values and step,
// and never learn which backend runs. Amounts are integer cents; AMOUNT(cents)
// gives the real amount and CENTS(real) the cents, by the one rounding rule of
// platform/data, on both backends. Statements are always prepared; values are
// always bound, never spliced into SQL text. Not thread-safe: each thread has
// its own connection (see Storage).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/backend.h"

class Statement;

class Database {
 public:
  // `target`: a SQLite file (created when missing) or a PostgreSQL URI or
  // keyword string (see storage/database_target.h).
  explicit Database(const std::string& target);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs SQL without parameters (schema, transaction control).
  void exec(std::string_view sql);
  Statement prepare(std::string_view sql);
  // Rows changed by the last INSERT, UPDATE or DELETE of this connection.
  std::int64_t changes() const;
  storage::Dialect dialect() const;
  // After filling `table` with many rows: see ConnectionBackend::refreshStatistics.
  void refreshStatistics(std::string_view table) { backend_->refreshStatistics(table); }
  // Before this connection's first call: see ConnectionBackend::warmUp.
  void warmUp() { backend_->warmUp(); }

  // The number of migrations applied.
  int userVersion();
  void setUserVersion(int version);
  storage::ConnectionBackend& backend() { return *backend_; }

  // The SQLite handle, for tests that reach below the interface; null on PostgreSQL.
  sqlite3* handle() { return backend_->sqliteHandle(); }
  bool isOpen() const { return backend_->isOpen(); }
  // Closes the connection, rolling back whatever it left open, and opens it
  // again with the same settings (throws when that fails).
  void reopen();
  const std::string& path() const { return target_; }

 private:
  std::string target_;
  std::unique_ptr<storage::ConnectionBackend> backend_;
};

// BEGIN on construction; ROLLBACK on destruction unless commit() ran, so a
// method that throws leaves nothing half-written. `writes`: the method
// changes data (SQLite takes the write lock at once).
class Transaction {
 public:
  explicit Transaction(Database& db, bool writes = false);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool open_ = true;
};

// Holds this connection's writer locks (ConnectionBackend::lockForWriting)
// while it lives: the names sorted and once each, so two writers that share
// names always take them in the same order and never wait on each other in
// a circle.
class WriterLocks {
 public:
  WriterLocks(Database& db, std::vector<std::string> names);
  ~WriterLocks();
  WriterLocks(const WriterLocks&) = delete;
  WriterLocks& operator=(const WriterLocks&) = delete;

 private:
  Database& db_;
};

// Holds this connection's reader's place behind the writers of one name
// (ConnectionBackend::waitForWriters) while it lives. A reader takes one
// name and waits for nothing while holding it, so it closes no circle.
class ReaderTurn {
 public:
  ReaderTurn(Database& db, const std::string& name);
  ~ReaderTurn();
  ReaderTurn(const ReaderTurn&) = delete;
  ReaderTurn& operator=(const ReaderTurn&) = delete;

 private:
  Database& db_;
};
