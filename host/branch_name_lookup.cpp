#include "branch_name_lookup.h"

#include <sqlite3.h>

std::string lookUpBranchName(const std::string& databasePath, const std::string& branch) {
  if (databasePath.empty() || branch.empty()) return {};
  sqlite3* db = nullptr;
  // Read-only and never created: a wrong path must not leave an empty file behind.
  if (sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return {};
  }
  std::string name;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = ?1", -1, &stmt, nullptr) ==
      SQLITE_OK) {
    sqlite3_bind_text(stmt, 1, branch.c_str(), static_cast<int>(branch.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(stmt) == SQLITE_ROW) {
      if (const auto* text = sqlite3_column_text(stmt, 0)) name = reinterpret_cast<const char*>(text);
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return name;
}
