#pragma once
// The host's own database (the branch table FILIAL), a SQLite file the host
// names at start. The module reads it through TADOIBQuery only.

#include <string>

struct sqlite3;

class THostDatabase {
 public:
  THostDatabase() = default;
  ~THostDatabase();
  THostDatabase(const THostDatabase&) = delete;
  THostDatabase& operator=(const THostDatabase&) = delete;

  // Opens an existing database file (never creates one). A missing file, or
  // a file that is not a database, raises Exception naming the path.
  void Open(const std::string& path);
  void Close();
  bool Connected() const { return db_ != nullptr; }
  const std::string& Path() const { return path_; }

  // The open connection; raises Exception when the database is not open.
  sqlite3* Handle() const;

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
};

// The process's general database connection (the host's data module): the
// host opens it, every query without a connection of its own reads it.
THostDatabase& dtmDBGeral();
