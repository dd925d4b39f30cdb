#pragma once
// A data packet: typed field definitions and rows, the tabular result of a
// remote method. Datasets load one whole and read their content back as one.

#include <string>
#include <string_view>
#include <vector>

#include "packet_rows.h"
#include "variant.h"

enum class FieldType {
  String,       // text with a maximum length (size)
  FixedString,  // text padded with blanks to its size
  Float,        // double precision
  DateTime,     // DateTime
  Integer,      // 32-bit signed
  Boolean,
};

const char* FieldTypeName(FieldType t);           // "string", "fixedstring", "float", ...
FieldType FieldTypeFromName(std::string_view n);  // throws on an unknown name

struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;  // characters for the text types, 0 otherwise
  friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

class DataPacket {
 public:
  using Row = PacketRows::Row;

  std::vector<FieldDef> fields;
  PacketRows rows;

  DataPacket() = default;
  explicit DataPacket(std::vector<FieldDef> f) : fields(std::move(f)) {}

  // Index of the field (case-insensitive), or -1.
  int fieldIndex(std::string_view name) const;
  // Appends a row; throws when the row's width differs from the field count.
  void addRow(Row r);
  std::size_t rowCount() const { return rows.size(); }
  // Cell by row and field name; throws on an unknown field.
  const Variant& at(std::size_t row, std::string_view field) const;

  friend bool operator==(const DataPacket&, const DataPacket&) = default;
};
