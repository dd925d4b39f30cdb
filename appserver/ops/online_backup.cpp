#include "ops/online_backup.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "storage/database_target.h"

namespace {

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, CloseDatabase>;

Handle OpenDatabase(const std::string& path, int flags) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  Handle db(raw);
  if (rc != SQLITE_OK)
    throw std::runtime_error("Não foi possível abrir " + path + ": " + (raw ? sqlite3_errmsg(raw) : "sem memória"));
  // A writer's commit holds the database only for moments.
  sqlite3_busy_timeout(db.get(), 10000);
  return db;
}

std::string Fail(sqlite3* db, const std::string& what) { return what + ": " + sqlite3_errmsg(db); }

// The copy as one self-contained file: no WAL beside it.
void CheckCopy(const std::string& path, BackupReport& report) {
  Handle copy = OpenDatabase(path, SQLITE_OPEN_READWRITE);
  if (sqlite3_exec(copy.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error(Fail(copy.get(), "Cópia sem modo de diário simples"));
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(copy.get(), "PRAGMA integrity_check", -1, &raw, nullptr) != SQLITE_OK)
    throw std::runtime_error(Fail(copy.get(), "Verificação da cópia"));
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> check(raw, sqlite3_finalize);
  std::string answer;
  while (sqlite3_step(check.get()) == SQLITE_ROW) {
    if (!answer.empty()) answer += "; ";
    answer += reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
  }
  report.integrity = answer;
  if (answer != "ok") throw std::runtime_error("A cópia não passou na verificação de integridade: " + answer);
}

}  // namespace

BackupReport BackupDatabase(const std::string& source, const std::string& out) {
  if (storage::IsPostgresTarget(source))
    throw std::runtime_error("A cópia online vale para bancos SQLite; um banco PostgreSQL se copia com pg_dump.");
  if (std::filesystem::exists(out)) throw std::runtime_error("O arquivo " + out + " já existe.");
  if (!std::filesystem::exists(source)) throw std::runtime_error("O banco " + source + " não existe.");
  const std::string partial = out + ".parcial";
  std::filesystem::remove(partial);
  BackupReport report;
  try {
    {
      Handle from = OpenDatabase(source, SQLITE_OPEN_READONLY);
      Handle to = OpenDatabase(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
      sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
      if (!backup) throw std::runtime_error(Fail(to.get(), "Cópia não iniciada"));
      // Every page in one step: one read transaction, one instant of the database.
      int rc = sqlite3_backup_step(backup, -1);
      while (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        sqlite3_sleep(50);
        rc = sqlite3_backup_step(backup, -1);
      }
      report.pages = static_cast<std::uint64_t>(sqlite3_backup_pagecount(backup));
      sqlite3_backup_finish(backup);
      if (rc != SQLITE_DONE) throw std::runtime_error(std::string("Cópia interrompida: ") + sqlite3_errstr(rc));
    }
    CheckCopy(partial, report);
    std::filesystem::rename(partial, out);
  } catch (...) {
    std::filesystem::remove(partial);
    std::filesystem::remove(partial + "-journal");
    throw;
  }
  report.bytes = std::filesystem::file_size(out);
  return report;
}
