#pragma once
// The server's database file. Each thread gets its own connection, opened on
// first use and closed when the thread ends: SQLite connections are not
// shared between threads, and WAL lets readers run beside the one writer.

#include <cstdint>
#include <string>

class Database;

class Storage {
 public:
  // Opens the file once to apply pending migrations.
  explicit Storage(std::string path);
  ~Storage();
  Storage(const Storage&) = delete;
  Storage& operator=(const Storage&) = delete;

  // This thread's connection to the file.
  Database& connection();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::uint64_t id_;  // keys the thread-local connections; never reused
};
