#pragma once
// A SQLite connection with the settings every connection of the server needs:
// WAL journal, a busy timeout (many clients write the same file), foreign keys
// on, and the money functions CENTS(real) -> integer cents and MONEY(cents)
// -> real amount, by the one rounding rule of platform/data. Statements are
// always prepared; values are always bound, never spliced into SQL text.

#include <sqlite3.h>

#include <string>
#include <string_view>

class Statement;

class Database {
 public:
  // Opens (creating when missing) the file at `path`.
  explicit Database(const std::string& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs SQL without parameters (schema, pragmas, transaction control).
  void exec(std::string_view sql);
  Statement prepare(std::string_view sql);

  int userVersion();
  void setUserVersion(int version);

  sqlite3* handle() { return db_; }
  bool isOpen() const { return db_ != nullptr; }
  // Closes the connection, rolling back whatever it left open, and opens the
  // file again with the same settings; closed when the open fails (throws).
  void reopen();
  const std::string& path() const { return path_; }

 private:
  void open();

  sqlite3* db_ = nullptr;
  std::string path_;
};

// BEGIN on construction; ROLLBACK on destruction unless commit() ran, so a
// method that throws leaves nothing half-written.
class Transaction {
 public:
  explicit Transaction(Database& db, bool immediate = false);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Database& db_;
  bool open_ = true;
};
