#pragma once
// Reading the arguments and packets a client sends: a field may be missing,
// a text padded, a number sent as text. A value that cannot be read is
// refused by name rather than taken as zero.

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/money.h"
#include "data/packet.h"
#include "data/variant.h"
#include "net/refusal.h"

namespace packet_reading {

inline const DataPacket& PacketArg(const Variant& v, const std::string& what) {
  if (!v.isPacket()) throw Refusal("Pacote de " + what + " inválido.");
  return v.asPacket();
}

inline bool Has(const DataPacket& p, const char* field) { return p.fieldIndex(field) >= 0; }

// A field of one packet, looked up by name once for all its rows; a reader
// of many rows names its fields this way rather than per cell.
struct Field {
  const char* name;
  int index;  // in the packet's fields; -1 when the packet lacks it

  Field(const DataPacket& p, const char* fieldName) : name(fieldName), index(p.fieldIndex(fieldName)) {}
  bool present() const { return index >= 0; }
  const Variant& at(const DataPacket& p, std::size_t row) const {
    if (row >= p.rowCount()) throw std::runtime_error("Linha " + std::to_string(row) + " fora do pacote.");
    return p.rows[row][static_cast<std::size_t>(index)];
  }
};

// The text of a field, trailing blanks dropped; empty when the field is missing.
inline std::string TextAt(const DataPacket& p, std::size_t row, const Field& field) {
  if (!field.present()) return "";
  std::string t = field.at(p, row).asText();
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}
inline std::string TextAt(const DataPacket& p, std::size_t row, const char* field) {
  return TextAt(p, row, Field(p, field));
}

// A number field; nothing when missing or null.
inline std::optional<double> NumberAt(const DataPacket& p, std::size_t row, const Field& field) {
  if (!field.present() || field.at(p, row).isNull()) return std::nullopt;
  try {
    const double v = field.at(p, row).asDouble();
    if (!std::isfinite(v)) throw std::runtime_error("");
    return v;
  } catch (const std::exception&) {
    throw Refusal(std::string("Valor inválido em ") + field.name + ".");
  }
}
inline std::optional<double> NumberAt(const DataPacket& p, std::size_t row, const char* field) {
  return NumberAt(p, row, Field(p, field));
}

// A whole-number field (a day, a count), cut to its whole part as the screen
// sends it; nothing when missing or null. A value beyond an int is refused:
// converting it would be undefined, not merely wrong.
inline std::optional<int> WholeAt(const DataPacket& p, std::size_t row, const char* field) {
  const std::optional<double> v = NumberAt(p, row, field);
  if (!v) return std::nullopt;
  constexpr double kBelow = std::numeric_limits<int>::min() - 1.0;
  constexpr double kAbove = std::numeric_limits<int>::max() + 1.0;
  if (!(*v > kBelow && *v < kAbove)) throw Refusal(std::string("Valor inválido em ") + field + ".");
  return static_cast<int>(*v);
}

// An amount of the packet in cents by the money rule; absent or null is 0,
// nothing when it lies beyond the largest amount either way.
inline std::optional<Cents> AmountAt(const DataPacket& p, std::size_t row, const Field& field) {
  std::optional<Cents> v = ToCents(NumberAt(p, row, field).value_or(0.0));
  if (!v || *v > kMaxAmountCents || *v < -kMaxAmountCents) return std::nullopt;
  return v;
}
inline std::optional<Cents> AmountAt(const DataPacket& p, std::size_t row, const char* field) {
  return AmountAt(p, row, Field(p, field));
}

// A money argument of `method`: a number, or a text that reads as one, in
// cents by the money rule; anything else is refused by name.
inline Cents MoneyArg(const Variant& value, std::string_view method, std::string_view what) {
  const std::string named = std::string(method) + ": " + std::string(what) + " informado ";
  double number = 0;
  try {
    if (value.isNull() || value.isArray() || value.isPacket()) throw std::runtime_error("");
    number = value.asDouble();
  } catch (const std::exception&) {
    throw Refusal(named + "não é um número válido.");
  }
  std::optional<Cents> cents = ToCents(number);
  if (!cents || *cents > kMaxAmountCents || *cents < -kMaxAmountCents) throw Refusal(named + "está fora dos limites.");
  return *cents;
}

}  // namespace packet_reading
