#include "admin/login_locks_admin.h"

#include <cstdio>
#include <ctime>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "session/login_lock_store.h"
#include "storage/database.h"
#include "storage/storage.h"

namespace {

std::string UtcTime(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

std::string Padded(std::string text, std::size_t width) {
  // Widths in characters: the accented letters of the headings take two bytes.
  std::size_t chars = 0;
  for (unsigned char c : text) chars += (c & 0xc0) != 0x80;
  if (chars < width) text.append(width - chars, ' ');
  return text;
}

}  // namespace

std::string LoginLocksReport(const std::string& dbPath, std::int64_t now) {
  Storage storage(dbPath);
  std::vector<LoginLockRow> rows;
  InTransaction(storage, false, [&](Database& db) {
    rows = ListLoginLocks(db, now);
    return Variant();
  });
  if (rows.empty()) return "Nenhum bloqueio nem tentativa inválida de login registrada.\n";
  std::string out = Padded("Operador", 14) + Padded("Endereço", 42) + Padded("Falhas", 8) + "Bloqueado até (UTC)\n";
  for (const LoginLockRow& r : rows) {
    out += Padded(r.operatorCode.empty() ? "(qualquer)" : r.operatorCode, 14);
    out += Padded(r.address.empty() ? "(qualquer)" : r.address, 42);
    out += Padded(std::to_string(r.failures), 8);
    out += r.lockedUntil > now ? UtcTime(r.lockedUntil) : "-";
    out += "\n";
  }
  return out;
}

std::string UnlockLogin(const std::string& dbPath, const std::string& typed) {
  const std::string code = KeyCode(typed, 0);
  if (code.empty()) throw std::runtime_error("Informe o operador (ou o endereço) a desbloquear.");
  // Operator codes are stored upper-cased, addresses as the system wrote
  // them (an IPv6 address in lower case).
  const auto first = typed.find_first_not_of(' ');
  const std::string asTyped = first == std::string::npos ? "" : typed.substr(first, typed.find_last_not_of(' ') - first + 1);
  Storage storage(dbPath);
  int cleared = 0;
  InTransaction(storage, true, [&](Database& db) {
    cleared = ClearLoginLocks(db, code);
    if (asTyped != code) cleared += ClearLoginLocks(db, asTyped);
    return Variant();
  });
  if (cleared == 0) return "Nenhum bloqueio de " + code + ".\n";
  return std::to_string(cleared) + (cleared == 1 ? " registro" : " registros") + " de tentativas de login de " + code +
         " removido" + (cleared == 1 ? "" : "s") + ".\n";
}
