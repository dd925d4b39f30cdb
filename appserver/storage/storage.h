#pragma once
// The server's database: a SQLite file or a PostgreSQL database. Each thread
// gets its own connection, opened on first use and closed when the thread
// ends (connections are not shared between threads; SQLite's WAL lets readers
// run beside the one writer). A connection found broken is opened again on
// the next use.

#include <cstdint>
#include <string>

class Database;

class Storage {
 public:
  // Opens the database once to apply pending migrations.
  explicit Storage(std::string path);
  ~Storage();
  Storage(const Storage&) = delete;
  Storage& operator=(const Storage&) = delete;

  // This thread's connection to the database.
  Database& connection();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::uint64_t id_;  // keys the thread-local connections; never reused
};
