#include "hostdb/adoib_query.h"

#include <algorithm>
#include <cctype>

#include "data/exceptions.h"
#include "hostdb/host_database.h"
#include "hostdb/sql_params.h"

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
  const std::string key = SqlParamKey(name);
  const std::vector<std::string> names = SqlParamNames(SqlText());
  const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return SqlParamKey(n) == key; });
  if (found == names.end()) throw Exception("Parâmetro '" + std::string(name) + "' não encontrado na consulta " + Name + ".");
  return params_.try_emplace(key, *found).first->second;
}

THostDatabase& TADOIBQuery::Connection() const { return connection_ ? *connection_ : dtmDBGeral(); }

void TADOIBQuery::Open() {
  Close();
  HostQueryParams values;
  for (const auto& [key, param] : params_) values.emplace(key, param.Value);
  data_ = Connection().Connection().Read(Name, SqlText(), values);
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
