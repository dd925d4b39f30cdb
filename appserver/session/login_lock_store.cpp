#include "session/login_lock_store.h"

#include "storage/database.h"
#include "storage/statement.h"

namespace {

LoginLockRow RowOf(Statement& st) {
  return {st.text(0), st.text(1), static_cast<int>(st.integer(2)), st.integer(3), st.integer(4)};
}

constexpr const char* kColumns = "SELECT CDOPERADOR, DSENDERECO, NRFALHAS, DTINICIO, DTBLOQUEIOATE FROM BLOQUEIOLOGIN";

}  // namespace

std::optional<LoginLockRow> ReadLoginLock(Database& db, const std::string& operatorCode, const std::string& address) {
  Statement st = db.prepare(std::string(kColumns) + " WHERE CDOPERADOR = ?1 AND DSENDERECO = ?2");
  st.bindAll(operatorCode, address);
  if (!st.step()) return std::nullopt;
  return RowOf(st);
}

void WriteLoginLock(Database& db, const LoginLockRow& row) {
  Statement st = db.prepare(
      "INSERT INTO BLOQUEIOLOGIN (CDOPERADOR, DSENDERECO, NRFALHAS, DTINICIO, DTBLOQUEIOATE) VALUES (?1, ?2, ?3, ?4, ?5)"
      " ON CONFLICT (CDOPERADOR, DSENDERECO) DO UPDATE SET NRFALHAS = excluded.NRFALHAS,"
      " DTINICIO = excluded.DTINICIO, DTBLOQUEIOATE = excluded.DTBLOQUEIOATE");
  st.bindAll(row.operatorCode, row.address, static_cast<std::int64_t>(row.failures), row.windowStart, row.lockedUntil)
      .run();
}

void DeleteLoginLock(Database& db, const std::string& operatorCode, const std::string& address) {
  Statement st = db.prepare("DELETE FROM BLOQUEIOLOGIN WHERE CDOPERADOR = ?1 AND DSENDERECO = ?2");
  st.bindAll(operatorCode, address).run();
}

void ForgetStaleLoginLocks(Database& db, std::int64_t now, std::int64_t windowsFrom) {
  Statement st = db.prepare("DELETE FROM BLOQUEIOLOGIN WHERE DTBLOQUEIOATE <= ?1 AND DTINICIO < ?2");
  st.bindAll(now, windowsFrom).run();
}

std::vector<LoginLockRow> ListLoginLocks(Database& db, std::int64_t now) {
  Statement st = db.prepare(std::string(kColumns) +
                            " WHERE DTBLOQUEIOATE > ?1 OR NRFALHAS > 0 ORDER BY CDOPERADOR, DSENDERECO");
  st.bind(1, now);
  std::vector<LoginLockRow> rows;
  while (st.step()) rows.push_back(RowOf(st));
  return rows;
}

int ClearLoginLocks(Database& db, const std::string& operatorOrAddress) {
  int cleared = 0;
  Statement count = db.prepare("SELECT COUNT(*) FROM BLOQUEIOLOGIN WHERE CDOPERADOR = ?1 OR DSENDERECO = ?1");
  count.bind(1, operatorOrAddress);
  if (count.step()) cleared = static_cast<int>(count.integer(0));
  Statement st = db.prepare("DELETE FROM BLOQUEIOLOGIN WHERE CDOPERADOR = ?1 OR DSENDERECO = ?1");
  st.bind(1, operatorOrAddress).run();
  return cleared;
}

std::optional<std::int64_t> LastLoginFrom(Database& db, const std::string& operatorCode, const std::string& address) {
  Statement st = db.prepare("SELECT DTULTIMOLOGIN FROM LOGINCONHECIDO WHERE CDOPERADOR = ?1 AND DSENDERECO = ?2");
  st.bindAll(operatorCode, address);
  if (!st.step()) return std::nullopt;
  return st.integer(0);
}

void RecordLoginFrom(Database& db, const std::string& operatorCode, const std::string& address, std::int64_t when) {
  Statement st = db.prepare(
      "INSERT INTO LOGINCONHECIDO (CDOPERADOR, DSENDERECO, DTULTIMOLOGIN) VALUES (?1, ?2, ?3)"
      " ON CONFLICT (CDOPERADOR, DSENDERECO) DO UPDATE SET DTULTIMOLOGIN = excluded.DTULTIMOLOGIN");
  st.bindAll(operatorCode, address, when).run();
}
