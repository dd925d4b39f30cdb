#include "hostdb/adoib_query.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "data/exceptions.h"
#include "hostdb/host_database.h"
#include "hostdb/sql_params.h"
#include "hostdb/sqlite_packet.h"

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

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

}  // namespace

std::int64_t TQueryField::AsInteger() const { return Value.isNull() ? 0 : Value.asInt(); }
double TQueryField::AsFloat() const { return Value.isNull() ? 0.0 : Value.asDouble(); }

TADOIBQuery::TADOIBQuery(std::string name, THostDatabase* connection)
    : Name(std::move(name)), connection_(connection) {}

std::string TADOIBQuery::SqlText() const {
  std::string text;
  for (std::size_t i = 0; i < SQL.size(); ++i) {
    if (i > 0) text += '\n';
    text += SQL[i];
  }
  return text;
}

TQueryParam& TADOIBQuery::ParamByName(std::string_view name) {
  const std::string key = Upper(name);
  const std::vector<std::string> names = SqlParamNames(SqlText());
  const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return Upper(n) == key; });
  if (found == names.end()) throw Exception("Parâmetro '" + std::string(name) + "' não encontrado na consulta " + Name + ".");
  return params_.try_emplace(key, *found).first->second;
}

THostDatabase& TADOIBQuery::Connection() const { return connection_ ? *connection_ : dtmDBGeral(); }

void TADOIBQuery::Open() {
  Close();
  sqlite3* db = Connection().Handle();
  const std::string text = SqlText();

  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &raw, &tail) != SQLITE_OK)
    throw Exception("Erro na consulta " + Name + ": " + sqlite3_errmsg(db));
  Statement statement(raw, &sqlite3_finalize);
  if (!statement) throw Exception("A consulta " + Name + " não tem comando.");
  // Only the first statement would run; refuse the rest rather than ignore it.
  if (tail && std::any_of(tail, text.c_str() + text.size(), [](char c) { return !std::isspace(static_cast<unsigned char>(c)) && c != ';'; }))
    throw Exception("A consulta " + Name + " tem mais de um comando.");
  if (!sqlite3_stmt_readonly(statement.get()))
    throw Exception("A consulta " + Name + " só pode ler dados.");

  for (int i = 1; i <= sqlite3_bind_parameter_count(statement.get()); ++i) {
    const char* parameter = sqlite3_bind_parameter_name(statement.get(), i);
    if (!parameter || parameter[0] != ':')
      throw Exception("A consulta " + Name + " tem parâmetro sem nome; use :NOME.");
    const auto value = params_.find(Upper(parameter + 1));
    Bind(statement.get(), i, value == params_.end() ? Variant() : value->second.Value, parameter + 1);
  }

  data_ = ReadPacket(statement.get());
  current_ = 0;
  active_ = true;
}

void TADOIBQuery::Close() {
  data_ = DataPacket();
  current_ = 0;
  active_ = false;
}

void TADOIBQuery::Next() {
  if (!Eof()) ++current_;
}

TQueryField TADOIBQuery::FieldByName(std::string_view name) const {
  const int index = data_.fieldIndex(name);
  if (index < 0) throw Exception("Campo '" + std::string(name) + "' não encontrado na consulta " + Name + ".");
  TQueryField field{data_.fields[static_cast<std::size_t>(index)].name, Variant()};
  if (!Eof()) field.Value = data_.rows[current_][static_cast<std::size_t>(index)];
  return field;
}
