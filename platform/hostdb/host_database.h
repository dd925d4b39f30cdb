#pragma once
// The host's own database (the branch table FILIAL): a SQLite file, or a
// PostgreSQL connection string, that the host names at start. The module
// reads it through TADOIBQuery only. Used from the screen's thread only.

#include <memory>
#include <string>

#include "hostdb/host_connection.h"

class THostDatabase {
 public:
  THostDatabase();
  ~THostDatabase();
  THostDatabase(const THostDatabase&) = delete;
  THostDatabase& operator=(const THostDatabase&) = delete;

  // Opens an existing database file (never creates one) or connects to the
  // PostgreSQL database a connection string names. Failures raise Exception
  // naming what could not be opened, and leave the database closed.
  void Open(const std::string& database);
  void Close();
  bool Connected() const { return connection_ != nullptr; }
  // The file's path, or a description of the PostgreSQL connection without
  // its password.
  const std::string& Path() const { return path_; }

  // The open connection; raises Exception when the database is not open.
  HostConnection& Connection() const;

 private:
  std::unique_ptr<HostConnection> connection_;
  std::string path_;
};

// The process's general database connection (the host's data module): the
// host opens it, every query without a connection of its own reads it.
THostDatabase& dtmDBGeral();
