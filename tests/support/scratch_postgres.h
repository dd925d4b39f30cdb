#pragma once
// A throwaway PostgreSQL cluster for tests and benchmarks: a copy of an initdb
// (made once per version in the temporary folder) in a temporary folder, the server listening only on a Unix socket in that
// folder, stopped and the folder removed when the program ends (and killed
// with the program if it dies first). Run as root (CI), the cluster belongs
// to the unprivileged user `nobody`, as PostgreSQL requires. The binaries are
// the Debian packages' (/usr/lib/postgresql/N/bin) or pg_config's.
// Thread-safe.

#include <sys/types.h>

#include <mutex>
#include <string>

namespace dx_test {

class ScratchPostgres {
 public:
  // One per test program, started on first use; throws with the reason when it cannot start.
  static ScratchPostgres& Shared();
  ~ScratchPostgres();
  ScratchPostgres(const ScratchPostgres&) = delete;
  ScratchPostgres& operator=(const ScratchPostgres&) = delete;

  // A fresh empty database; returns its libpq conninfo.
  std::string createDatabase();
  // The conninfo of database `db` of this cluster.
  std::string conninfo(const std::string& db) const;
  // Runs SQL without parameters on database `db` and returns the first column
  // of the first row ("" when none): for checks of what a test left.
  std::string query(const std::string& db, const std::string& sql) const;

 private:
  ScratchPostgres();
  void start();
  void stop();

  std::string folder_, binaries_;
  pid_t postmaster_ = -1;
  std::mutex mutex_;
  int databases_ = 0;
};

// The database name of a conninfo returned by createDatabase.
std::string DatabaseNameOf(const std::string& conninfo);

}  // namespace dx_test
