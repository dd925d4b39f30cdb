#include "scratch_postgres.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

std::string BinDir() {
  for (const char* dir : {"/usr/lib/postgresql/15/bin", "/usr/lib/postgresql/16/bin", "/usr/lib/postgresql/17/bin"})
    if (std::filesystem::exists(std::string(dir) + "/initdb")) return dir;
  return "/usr/local/bin";
}

// Runs a PostgreSQL program, as `nobody` when we are root.
void Run(const std::string& command) {
  const std::string asUser = geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
  if (std::system((asUser + command).c_str()) != 0) throw std::runtime_error("PostgreSQL de teste: falhou " + command);
}

}  // namespace

ScratchPostgres& ScratchPostgres::Shared() {
  static ScratchPostgres cluster;
  return cluster;
}

ScratchPostgres::ScratchPostgres() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dx-pg-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  // The cluster's own user creates its folder and socket in here.
  if (geteuid() == 0) std::filesystem::permissions(dir_, std::filesystem::perms::all);
  const std::string bin = BinDir();
  Run(bin + "/initdb --no-sync -A trust -U postgres -E UTF8 --no-locale -D " + dir_ + "/data > " + dir_ + "/initdb.log 2>&1");
  Run(bin + "/pg_ctl -D " + dir_ + "/data -l " + dir_ + "/server.log -w -o \"-k " + dir_ +
      " -c listen_addresses='' -c fsync=off\" start > /dev/null");
}

ScratchPostgres::~ScratchPostgres() {
  try {
    Run(BinDir() + "/pg_ctl -D " + dir_ + "/data -m immediate -w stop > /dev/null");
  } catch (const std::exception&) {
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ScratchPostgres::conninfo(const std::string& database) const {
  return "host=" + dir_ + " user=postgres dbname=" + database;
}

std::string ScratchPostgres::createDatabase() {
  const std::string name = "dx" + std::to_string(getpid()) + "_" + std::to_string(++databases_);
  PGconn* conn = PQconnectdb(conninfo("postgres").c_str());
  PGresult* result = PQexec(conn, ("CREATE DATABASE " + name).c_str());
  const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
  const std::string reason = PQerrorMessage(conn);
  PQclear(result);
  PQfinish(conn);
  if (!ok) throw std::runtime_error("PostgreSQL de teste: " + reason);
  return conninfo(name);
}
