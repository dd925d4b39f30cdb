#include "hostdb/sqlite_packet.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "data/exceptions.h"

namespace {

struct ColumnType {
  bool known = false;
  FieldType type = FieldType::String;
  int size = 0;  // declared length of a text column, 0 when not declared
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// SQLite's own affinity rules, on the declared type.
ColumnType FromDeclared(const char* declared) {
  ColumnType column;
  if (!declared) return column;
  const std::string decl = Upper(declared);
  column.known = true;
  if (decl.find("INT") != std::string::npos) {
    column.type = FieldType::Integer;
  } else if (decl.find("CHAR") != std::string::npos || decl.find("CLOB") != std::string::npos ||
             decl.find("TEXT") != std::string::npos) {
    column.type = FieldType::String;
    if (const std::size_t open = decl.find('('); open != std::string::npos) column.size = std::atoi(decl.c_str() + open + 1);
  } else if (decl.find("REAL") != std::string::npos || decl.find("FLOA") != std::string::npos ||
             decl.find("DOUB") != std::string::npos) {
    column.type = FieldType::Float;
  } else {
    column.known = false;  // NUMERIC, DECIMAL, none: the values decide
  }
  return column;
}

Variant ReadCell(sqlite3_stmt* statement, int i) {
  switch (sqlite3_column_type(statement, i)) {
    case SQLITE_INTEGER:
      return Variant(static_cast<std::int64_t>(sqlite3_column_int64(statement, i)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(statement, i));
    case SQLITE_NULL:
      return Variant();
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
      return Variant(std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, i))));
    }
  }
}

FieldType FromValue(const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::Int: return FieldType::Integer;
    case Variant::Kind::Double: return FieldType::Float;
    default: return FieldType::String;
  }
}

int Utf8Length(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// Brings a cell to its field's type; a value that does not convert stays as
// stored rather than being lost.
Variant Coerce(const Variant& value, FieldType type) {
  if (value.isNull()) return value;
  try {
    switch (type) {
      case FieldType::String: return Variant(value.asText());
      case FieldType::Integer: return Variant(value.asInt());
      case FieldType::Float: return Variant(value.asDouble());
      default: return value;
    }
  } catch (const std::exception&) {
    return value;
  }
}

}  // namespace

DataPacket ReadPacket(sqlite3_stmt* statement) {
  const int columns = sqlite3_column_count(statement);
  std::vector<ColumnType> types;
  DataPacket packet;
  for (int i = 0; i < columns; ++i) {
    const char* name = sqlite3_column_name(statement, i);
    packet.fields.push_back(FieldDef{name ? name : "", FieldType::String, 0});
    types.push_back(FromDeclared(sqlite3_column_decltype(statement, i)));
  }

  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    DataPacket::Row row;
    for (int i = 0; i < columns; ++i) row.push_back(ReadCell(statement, i));
    packet.rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) throw Exception(std::string("Erro ao ler a consulta: ") + sqlite3_errmsg(sqlite3_db_handle(statement)));

  for (std::size_t c = 0; c < packet.fields.size(); ++c) {
    FieldDef& field = packet.fields[c];
    if (types[c].known) {
      field.type = types[c].type;
    } else {
      const auto first = std::find_if(packet.rows.begin(), packet.rows.end(), [c](const auto& r) { return !r[c].isNull(); });
      field.type = first == packet.rows.end() ? FieldType::String : FromValue((*first)[c]);
    }
    int longest = 0;
    for (PacketRows::RowRef row : packet.rows) {
      row[c] = Coerce(row[c], field.type);
      if (row[c].isText()) longest = std::max(longest, Utf8Length(row[c].asText()));
    }
    if (field.type == FieldType::String) field.size = std::max({types[c].size, longest, 1});
  }
  return packet;
}
