#pragma once
// A throwaway PostgreSQL cluster for tests: initdb in a temporary folder,
// the server listening on a Unix socket in that folder only, stopped and
// removed when the program ends. As root (CI), the cluster runs as `nobody`,
// since PostgreSQL refuses to run as root. Not thread-safe.

#include <string>

class ScratchPostgres {
 public:
  // One per test program, started on first use; throws with the reason when
  // it cannot start.
  static ScratchPostgres& Shared();
  // A fresh empty database; returns its libpq connection string.
  std::string createDatabase();
  std::string conninfo(const std::string& database) const;

  ~ScratchPostgres();

 private:
  ScratchPostgres();
  std::string dir_;
  int databases_ = 0;
};
