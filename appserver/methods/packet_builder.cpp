#include "methods/packet_builder.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>

#include "storage/statement.h"

namespace {

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t charCount(std::string_view text) {
  std::size_t n = 0;
  for (unsigned char c : text)
    if (!isContinuationByte(c)) ++n;
  return n;
}

// The first `size` UTF-8 characters of `text` (all of it when size <= 0).
std::string_view CharPrefix(std::string_view text, int size) {
  if (size <= 0) return text;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isContinuationByte(static_cast<unsigned char>(text[i]))) continue;
    if (chars == static_cast<std::size_t>(size)) return text.substr(0, i);
    ++chars;
  }
  return text;
}

}  // namespace

std::string CutToChars(const std::string& text, int size) { return std::string(CharPrefix(text, size)); }

// Texts are read in place and copied once, into the cell.
Variant CellValue(const Statement& st, int col, const FieldDef& field) {
  switch (field.type) {
    case FieldType::String:
      return Variant(CharPrefix(st.textView(col), field.size));
    case FieldType::FixedString: {
      std::string_view cut = CharPrefix(st.textView(col), field.size);
      std::size_t n = charCount(cut);
      std::string s;
      s.reserve(cut.size() + (n < static_cast<std::size_t>(field.size) ? field.size - n : 0));
      s.append(cut);
      if (n < static_cast<std::size_t>(field.size)) s.append(static_cast<std::size_t>(field.size) - n, ' ');
      return s;
    }
    case FieldType::Float:
      return st.isNull(col) ? Variant() : Variant(st.real(col));
    case FieldType::DateTime:
      return st.isNull(col) ? Variant() : Variant(DateTime{st.real(col)});
    case FieldType::Integer:
      return st.isNull(col) ? Variant() : Variant(static_cast<int>(st.integer(col)));
    case FieldType::Boolean:
      return st.isNull(col) ? Variant() : Variant(st.integer(col) != 0);
  }
  return {};
}

DataPacket QueryPacket(Statement& st, const PacketShape& shape) {
  if (st.columnCount() != static_cast<int>(shape.size()))
    throw std::logic_error("Consulta com " + std::to_string(st.columnCount()) + " colunas para um pacote de " +
                           std::to_string(shape.size()) + " campos.");
  DataPacket packet(shape);
  while (st.step()) {
    DataPacket::Row row;
    row.reserve(shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i) row.push_back(CellValue(st, static_cast<int>(i), shape[i]));
    packet.addRow(std::move(row));
  }
  return packet;
}

DataPacket QueryPacketOrdered(Statement& st, const PacketShape& shape, std::size_t keys) {
  const std::size_t width = shape.size();
  if (st.columnCount() != static_cast<int>(width + keys))
    throw std::logic_error("Consulta com " + std::to_string(st.columnCount()) + " colunas para um pacote de " +
                           std::to_string(width) + " campos e " + std::to_string(keys) + " chaves.");
  DataPacket read(shape);
  std::vector<std::string> sortKeys;  // `keys` a row
  while (st.step()) {
    read.rows.StartRow();
    for (std::size_t i = 0; i < width; ++i) read.rows.AddCell(CellValue(st, static_cast<int>(i), shape[i]));
    read.rows.EndRow();
    for (std::size_t k = 0; k < keys; ++k) sortKeys.emplace_back(st.textView(static_cast<int>(width + k)));
  }
  std::vector<std::size_t> order(read.rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::lexicographical_compare(sortKeys.begin() + static_cast<std::ptrdiff_t>(a * keys),
                                        sortKeys.begin() + static_cast<std::ptrdiff_t>((a + 1) * keys),
                                        sortKeys.begin() + static_cast<std::ptrdiff_t>(b * keys),
                                        sortKeys.begin() + static_cast<std::ptrdiff_t>((b + 1) * keys));
  });
  DataPacket packet(shape);
  for (std::size_t r : order) {
    packet.rows.StartRow();
    for (Variant& cell : read.rows[r]) packet.rows.AddCell(std::move(cell));
    packet.rows.EndRow();
  }
  return packet;
}
