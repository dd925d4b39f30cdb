// The host's database as a SQLite file.

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

#include "data/exceptions.h"
#include "hostdb/host_connection.h"
#include "hostdb/sql_params.h"
#include "hostdb/sqlite_packet.h"

namespace {

// The application server may be writing the same file; wait for it rather
// than fail a read.
constexpr int kBusyTimeoutMs = 5000;

using StatementPtr = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

void Bind(sqlite3_stmt* statement, int index, const Variant& value, const std::string& name) {
  int rc = SQLITE_OK;
  switch (value.kind()) {
    case Variant::Kind::Null:
      rc = sqlite3_bind_null(statement, index);
      break;
    case Variant::Kind::Bool:
    case Variant::Kind::Int:
      rc = sqlite3_bind_int64(statement, index, value.asInt());
      break;
    case Variant::Kind::Double:
      rc = sqlite3_bind_double(statement, index, value.asDouble());
      break;
    case Variant::Kind::Date:
      rc = sqlite3_bind_double(statement, index, value.asDate().days);
      break;
    case Variant::Kind::Text: {
      const std::string text = value.asText();
      rc = sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      break;
    }
    default:
      throw Exception("Parâmetro " + name + ": valor de tipo não suportado numa consulta.");
  }
  if (rc != SQLITE_OK) throw Exception("Parâmetro " + name + ": " + sqlite3_errstr(rc));
}

class SqliteHostConnection : public HostConnection {
 public:
  explicit SqliteHostConnection(sqlite3* db) : db_(db) {}
  ~SqliteHostConnection() override { sqlite3_close_v2(db_); }

  DataPacket Read(const std::string& queryName, const std::string& sql, const HostQueryParams& params) override {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail) != SQLITE_OK)
      throw Exception("Erro na consulta " + queryName + ": " + sqlite3_errmsg(db_));
    StatementPtr statement(raw, &sqlite3_finalize);
    if (!statement) throw Exception("A consulta " + queryName + " não tem comando.");
    // Only the first statement would run; refuse the rest rather than ignore it.
    if (tail && std::any_of(tail, sql.c_str() + sql.size(),
                            [](char c) { return !std::isspace(static_cast<unsigned char>(c)) && c != ';'; }))
      throw Exception("A consulta " + queryName + " tem mais de um comando.");
    if (!sqlite3_stmt_readonly(statement.get())) throw Exception("A consulta " + queryName + " só pode ler dados.");

    for (int i = 1; i <= sqlite3_bind_parameter_count(statement.get()); ++i) {
      const char* parameter = sqlite3_bind_parameter_name(statement.get(), i);
      if (!parameter || parameter[0] != ':')
        throw Exception("A consulta " + queryName + " tem parâmetro sem nome; use :NOME.");
      const auto value = params.find(SqlParamKey(parameter + 1));
      Bind(statement.get(), i, value == params.end() ? Variant() : value->second, parameter + 1);
    }
    return ReadPacket(statement.get());
  }

 private:
  sqlite3* db_;
};

}  // namespace

std::unique_ptr<HostConnection> OpenSqliteHost(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec))
    throw Exception("Banco de dados do host não encontrado: " + path);

  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    // A file we may only read still serves the branch look-ups.
    sqlite3_close(db);
    db = nullptr;
    rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  }
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Opening reads nothing; touch the schema so a bad file fails here.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) {
    const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw Exception("Não foi possível abrir o banco de dados do host " + path + ": " + reason);
  }
  return std::make_unique<SqliteHostConnection>(db);
}
