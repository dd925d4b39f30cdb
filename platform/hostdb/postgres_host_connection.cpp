// The host's database on PostgreSQL, through libpq.

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <optional>
#include <vector>

#include "data/exceptions.h"
#include "hostdb/host_connection.h"
#include "hostdb/sql_params.h"

namespace {

// A slow or unreachable server must not hang the host's start for ever; a
// connection string that sets its own connect_timeout keeps it.
constexpr const char* kConnectTimeoutSeconds = "10";

// Object ids of PostgreSQL's built-in types; they never change.
enum : Oid { kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
             kBpchar = 1042, kVarchar = 1043, kNumeric = 1700 };

// libpq refuses a header size (VARHDRSZ) inside a text column's declared length.
constexpr int kVarHeader = 4;

using ResultPtr = std::unique_ptr<PGresult, decltype(&PQclear)>;

std::string Trimmed(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

// A parameter as text in PostgreSQL's input syntax; the server infers the type
// from where the parameter stands.
std::optional<std::string> ParamText(const Variant& value, const std::string& name) {
  char buffer[64];
  switch (value.kind()) {
    case Variant::Kind::Null:
      return std::nullopt;
    case Variant::Kind::Bool:
    case Variant::Kind::Int:
      return std::to_string(value.asInt());
    case Variant::Kind::Double:
    case Variant::Kind::Date: {
      const double number = value.kind() == Variant::Kind::Date ? value.asDate().days : value.asDouble();
      const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
      return std::string(buffer, end);
    }
    case Variant::Kind::Text:
      return value.asText();
    default:
      throw Exception("Parâmetro " + name + ": valor de tipo não suportado numa consulta.");
  }
}

FieldType TypeOf(Oid type) {
  switch (type) {
    case kBool: case kInt2: case kInt4: case kInt8: case kOid: return FieldType::Integer;
    case kFloat4: case kFloat8: case kNumeric: return FieldType::Float;
    default: return FieldType::String;
  }
}

// A cell read in its field's type; a number that does not parse stays text
// rather than being lost.
Variant Cell(const PGresult* result, int row, int col, Oid type) {
  if (PQgetisnull(result, row, col)) return Variant();
  const char* text = PQgetvalue(result, row, col);
  const char* end = text + PQgetlength(result, row, col);
  if (type == kBool) return Variant(static_cast<std::int64_t>(text[0] == 't'));
  if (TypeOf(type) == FieldType::Integer) {
    std::int64_t number = 0;
    if (std::from_chars(text, end, number).ec == std::errc()) return Variant(number);
  } else if (TypeOf(type) == FieldType::Float) {
    double number = 0;
    if (std::from_chars(text, end, number).ec == std::errc()) return Variant(number);
  }
  return Variant(std::string(text, end));
}

int Utf8Length(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

DataPacket ReadResult(const PGresult* result) {
  DataPacket packet;
  const int columns = PQnfields(result);
  const int rows = PQntuples(result);
  for (int c = 0; c < columns; ++c) {
    // Unquoted names come back folded to lower case; the screens name their
    // fields in upper case, as on the SQLite database.
    FieldDef field{SqlParamKey(PQfname(result, c)), TypeOf(PQftype(result, c)), 0};
    if (field.type == FieldType::String) {
      const int modifier = PQfmod(result, c);
      const Oid type = PQftype(result, c);
      if ((type == kVarchar || type == kBpchar) && modifier > kVarHeader) field.size = modifier - kVarHeader;
    }
    packet.fields.push_back(field);
  }
  for (int r = 0; r < rows; ++r) {
    DataPacket::Row row;
    for (int c = 0; c < columns; ++c) row.push_back(Cell(result, r, c, PQftype(result, c)));
    packet.rows.push_back(std::move(row));
  }
  for (std::size_t c = 0; c < packet.fields.size(); ++c) {
    FieldDef& field = packet.fields[c];
    if (field.type != FieldType::String) continue;
    int longest = 0;
    for (PacketRows::RowRef row : packet.rows)
      if (row[c].isText()) longest = std::max(longest, Utf8Length(row[c].asText()));
    field.size = std::max({field.size, longest, 1});
  }
  return packet;
}

class PostgresHostConnection : public HostConnection {
 public:
  explicit PostgresHostConnection(PGconn* conn) : conn_(conn, &PQfinish) {}

  DataPacket Read(const std::string& queryName, const std::string& sql, const HostQueryParams& params) override {
    ReconnectIfBroken();
    const std::vector<std::string> names = SqlParamNames(sql);
    std::vector<std::optional<std::string>> texts;
    for (const std::string& name : names) {
      const auto value = params.find(SqlParamKey(name));
      texts.push_back(value == params.end() ? std::nullopt : ParamText(value->second, name));
    }
    std::vector<const char*> values;
    for (const auto& text : texts) values.push_back(text ? text->c_str() : nullptr);

    // A read-only transaction makes the server itself refuse a statement that
    // writes, whatever it is made of; it is always rolled back.
    Command("BEGIN TRANSACTION READ ONLY", queryName);
    ResultPtr result(PQexecParams(conn_.get(), SqlWithNumberedParams(sql).c_str(), static_cast<int>(values.size()),
                                  nullptr, values.data(), nullptr, nullptr, 0),
                     &PQclear);
    PQclear(PQexec(conn_.get(), "ROLLBACK"));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK) {
      const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
      if (state && std::string_view(state) == "25006") throw Exception("A consulta " + queryName + " só pode ler dados.");
      if (PQresultStatus(result.get()) == PGRES_COMMAND_OK) throw Exception("A consulta " + queryName + " não lê dados.");
      throw Exception("Erro na consulta " + queryName + ": " + Trimmed(PQresultErrorMessage(result.get())));
    }
    return ReadResult(result.get());
  }

 private:
  void Command(const char* sql, const std::string& queryName) {
    ResultPtr result(PQexec(conn_.get(), sql), &PQclear);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
      throw Exception("Erro na consulta " + queryName + ": " + Trimmed(PQerrorMessage(conn_.get())));
  }

  // A server restarted since the host opened keeps its address: reconnect
  // once rather than fail every query until the host is restarted.
  void ReconnectIfBroken() {
    if (PQstatus(conn_.get()) == CONNECTION_BAD) PQreset(conn_.get());
  }

  std::unique_ptr<PGconn, decltype(&PQfinish)> conn_;
};

}  // namespace

bool IsPostgresConnectionString(std::string_view database) {
  if (database.rfind("postgresql://", 0) == 0 || database.rfind("postgres://", 0) == 0) return true;
  // libpq's keyword form, "host=... dbname=...", as libpq itself reads it: a
  // file name with '=' in it is not taken for one.
  if (database.find('=') == std::string_view::npos) return false;
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(std::string(database).c_str(), &error);
  PQfreemem(error);
  PQconninfoFree(options);
  return options != nullptr;
}

std::unique_ptr<HostConnection> OpenPostgresHost(const std::string& conninfo) {
  // The connection string is expanded in place of dbname; what it sets
  // itself overrides the timeout given before it.
  const char* keywords[] = {"connect_timeout", "dbname", nullptr};
  const char* values[] = {kConnectTimeoutSeconds, conninfo.c_str(), nullptr};
  PGconn* conn = PQconnectdbParams(keywords, values, 1);
  if (!conn || PQstatus(conn) != CONNECTION_OK) {
    const std::string reason = conn ? Trimmed(PQerrorMessage(conn)) : "sem memória";
    PQfinish(conn);
    throw Exception("Não foi possível conectar ao banco de dados do host (PostgreSQL): " + reason);
  }
  PQsetClientEncoding(conn, "UTF8");
  return std::make_unique<PostgresHostConnection>(conn);
}
