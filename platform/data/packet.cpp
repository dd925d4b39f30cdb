#include "packet.h"

#include <stdexcept>
#include <strings.h>

const char* FieldTypeName(FieldType t) {
  switch (t) {
    case FieldType::String: return "string";
    case FieldType::FixedString: return "fixedstring";
    case FieldType::Float: return "float";
    case FieldType::DateTime: return "datetime";
    case FieldType::Integer: return "integer";
    case FieldType::Boolean: return "boolean";
  }
  return "?";
}

FieldType FieldTypeFromName(std::string_view n) {
  for (FieldType t : {FieldType::String, FieldType::FixedString, FieldType::Float, FieldType::DateTime,
                      FieldType::Integer, FieldType::Boolean})
    if (n == FieldTypeName(t)) return t;
  throw std::runtime_error("Tipo de campo desconhecido: " + std::string(n));
}

int DataPacket::fieldIndex(std::string_view name) const {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name.size() == name.size() &&
        strncasecmp(fields[i].name.data(), name.data(), name.size()) == 0)
      return static_cast<int>(i);
  return -1;
}

void DataPacket::addRow(Row r) {
  if (r.size() != fields.size())
    throw std::runtime_error("Linha com " + std::to_string(r.size()) + " valores num pacote de " +
                             std::to_string(fields.size()) + " campos.");
  rows.push_back(std::move(r));
}

const Variant& DataPacket::at(std::size_t row, std::string_view field) const {
  int i = fieldIndex(field);
  if (i < 0) throw std::runtime_error("Campo " + std::string(field) + " não existe no pacote.");
  if (row >= rows.size()) throw std::runtime_error("Linha " + std::to_string(row) + " fora do pacote.");
  return rows[row][static_cast<std::size_t>(i)];
}
