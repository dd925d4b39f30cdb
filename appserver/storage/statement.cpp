#include "storage/statement.h"

#include <stdexcept>
#include <utility>

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string("Erro no banco de dados (preparar): ") + sqlite3_errmsg(db_));
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

void Statement::check(int rc, const char* what) {
  if (rc != SQLITE_OK)
    throw std::runtime_error(std::string("Erro no banco de dados (") + what + "): " + sqlite3_errmsg(db_));
}

Statement& Statement::bind(int index, std::string_view text) {
  check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT), "bind");
  return *this;
}

Statement& Statement::bind(int index, double value) {
  check(sqlite3_bind_double(stmt_, index, value), "bind");
  return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
  check(sqlite3_bind_int64(stmt_, index, value), "bind");
  return *this;
}

Statement& Statement::bindNull(int index) {
  check(sqlite3_bind_null(stmt_, index), "bind");
  return *this;
}

Statement& Statement::bindOpt(int index, const std::optional<std::string>& text) {
  return text ? bind(index, *text) : bindNull(index);
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  std::string message = sqlite3_errmsg(db_);
  sqlite3_reset(stmt_);
  throw std::runtime_error("Erro no banco de dados: " + message);
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }
std::string_view Statement::columnName(int col) const { return sqlite3_column_name(stmt_, col); }
bool Statement::isNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
int Statement::columnType(int col) const { return sqlite3_column_type(stmt_, col); }

std::string Statement::text(int col) const {
  const unsigned char* p = sqlite3_column_text(stmt_, col);
  if (!p) return {};
  return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)));
}

std::string_view Statement::textView(int col) const {
  const unsigned char* p = sqlite3_column_text(stmt_, col);
  if (!p) return {};
  return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col))};
}

double Statement::real(int col) const { return sqlite3_column_double(stmt_, col); }
std::int64_t Statement::integer(int col) const { return sqlite3_column_int64(stmt_, col); }
