#include "methods/packet_builder.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

#include "storage/statement.h"

namespace {

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t charCount(std::string_view text) {
  std::size_t n = 0;
  for (char c : text)
    if (!isContinuationByte(static_cast<unsigned char>(c))) ++n;
  return n;
}

// The first `size` UTF-8 characters of `text` (all of it when size <= 0).
std::string_view CharPrefix(std::string_view text, int size) {
  // No more bytes than the size: no more characters either.
  if (size <= 0 || text.size() <= static_cast<std::size_t>(size)) return text;
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

namespace {

bool IsText(FieldType type) { return type == FieldType::String || type == FieldType::FixedString; }

// A text field's cell from the column's text as stored.
Variant TextCell(std::string_view text, const FieldDef& field) {
  if (field.type == FieldType::String) return Variant(CharPrefix(text, field.size));
  std::string_view cut = CharPrefix(text, field.size);
  std::size_t n = charCount(cut);
  if (n >= static_cast<std::size_t>(field.size)) return Variant(cut);
  std::string s;
  s.reserve(cut.size() + static_cast<std::size_t>(field.size) - n);
  s.append(cut);
  s.append(static_cast<std::size_t>(field.size) - n, ' ');
  return s;
}

}  // namespace

// Texts are read in place and copied once, into the cell.
Variant CellValue(const Statement& st, int col, const FieldDef& field) {
  switch (field.type) {
    case FieldType::String:
    case FieldType::FixedString:
      return TextCell(st.textView(col), field);
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

namespace {

// Appends `key` so that comparing the appended keys of two rows byte by byte
// compares their key lists as tuples: a zero byte is escaped as 00 FF and the
// key ends in 00 00, which sorts below any byte that could follow.
void AppendSortKey(std::string& keys, std::string_view key) {
  for (char c : key) {
    keys.push_back(c);
    if (c == '\0') keys.push_back('\xFF');
  }
  keys.append(2, '\0');
}

// A row's place in the sort: eight of its key bytes as a number, those just
// past the prefix every row shares, which settles most comparisons without
// touching the keys' bytes.
struct SortEntry {
  std::uint64_t head;
  std::uint32_t offset;
  std::uint32_t length;
  std::size_t row;
};

std::uint64_t HeadOf(std::string_view key, std::size_t from) {
  std::uint64_t head = 0;
  for (std::size_t i = from; i < from + 8; ++i)
    head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return head;
}

// Bytes at the start of every key alike.
std::size_t SharedPrefix(std::string_view all, const std::vector<SortEntry>& entries) {
  if (entries.empty()) return 0;
  const std::string_view first = all.substr(entries[0].offset, entries[0].length);
  std::size_t shared = first.size();
  for (const SortEntry& e : entries) {
    const std::string_view key = all.substr(e.offset, std::min<std::size_t>(e.length, shared));
    shared = static_cast<std::size_t>(std::mismatch(key.begin(), key.end(), first.begin()).first - key.begin());
  }
  return shared;
}

}  // namespace

DataPacket QueryPacketOrdered(Statement& st, const PacketShape& shape, const std::vector<int>& keyColumns,
                              const RowVisitor& eachRow) {
  const std::size_t width = shape.size();
  const int columns = st.columnCount();
  const bool keysRead = std::all_of(keyColumns.begin(), keyColumns.end(), [&](int c) {
    return c >= 0 && c < columns && (static_cast<std::size_t>(c) >= width || IsText(shape[static_cast<std::size_t>(c)].type));
  });
  if (columns < static_cast<int>(width) || !keysRead)
    throw std::logic_error("Consulta com " + std::to_string(columns) + " colunas para um pacote de " +
                           std::to_string(width) + " campos ordenado por colunas que ela não tem ou que não são texto.");
  DataPacket read(shape);
  // Every row's keys in one block, not one string per key.
  std::string keyBytes;
  std::vector<SortEntry> order;
  std::vector<std::string_view> texts(width);  // this row's, as stored: valid until the next step
  while (st.step()) {
    read.rows.StartRow();
    for (std::size_t i = 0; i < width; ++i) {
      const int col = static_cast<int>(i);
      if (IsText(shape[i].type)) {
        texts[i] = st.textView(col);
        read.rows.AddCell(TextCell(texts[i], shape[i]));
      } else {
        read.rows.AddCell(CellValue(st, col, shape[i]));
      }
    }
    read.rows.EndRow();
    const std::size_t offset = keyBytes.size();
    for (int c : keyColumns)
      AppendSortKey(keyBytes, static_cast<std::size_t>(c) < width ? texts[static_cast<std::size_t>(c)] : st.textView(c));
    if (keyBytes.size() > std::numeric_limits<std::uint32_t>::max())
      throw std::length_error("Chaves de ordenação longas demais.");
    order.push_back({0, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(keyBytes.size() - offset),
                     order.size()});
    if (eachRow) eachRow(st);
  }
  const std::string_view all(keyBytes);
  const std::size_t shared = SharedPrefix(all, order);
  for (SortEntry& e : order) e.head = HeadOf(all.substr(e.offset, e.length), shared);
  std::sort(order.begin(), order.end(), [all](const SortEntry& a, const SortEntry& b) {
    if (a.head != b.head) return a.head < b.head;
    return all.substr(a.offset, a.length) < all.substr(b.offset, b.length);
  });
  // The rows move to their places in the packet they were read into, cycle
  // by cycle, so no second packet's worth of memory is touched.
  std::vector<Variant> held(width);
  std::vector<bool> placed(order.size());
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start] || order[start].row == start) continue;
    std::ranges::move(read.rows[start], held.begin());
    std::size_t to = start;
    while (order[to].row != start) {
      const std::size_t from = order[to].row;
      std::ranges::move(read.rows[from], read.rows[to].begin());
      placed[to] = true;
      to = from;
    }
    std::ranges::move(held, read.rows[to].begin());
    placed[to] = true;
  }
  return read;
}
