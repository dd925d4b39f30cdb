#include "packet_rows.h"

#include <string>

#include "record_store.h"

PacketRows::PacketRows(std::shared_ptr<RecordStore> columns)
    : rows_(columns->LiveCount()), width_(columns->FieldCount()), columns_(std::move(columns)),
      lazy_(std::make_unique<Lazy>()) {
  if (rows_ == 0) width_ = 0;  // as rows added one by one have it
}

PacketRows::PacketRows(const PacketRows& other) {
  other.Read();
  blocks_ = other.blocks_;
  rows_ = other.rows_;
  width_ = other.width_;
  open_ = other.open_;
  columns_ = other.columns_;
}

PacketRows& PacketRows::operator=(const PacketRows& other) {
  if (this != &other) *this = PacketRows(other);
  return *this;
}

PacketRows::~PacketRows() = default;

void PacketRows::BuildCells() const {
  PacketRows cells;
  const RecordStore& store = *columns_;
  for (RecordStore::Id id : store.Order()) {
    cells.StartRow();
    for (std::size_t f = 0; f < store.FieldCount(); ++f) {
      // A whole number in a float column came as an integer, as the wire carries it.
      if (store.Type(f) == FieldType::Float && !store.IsNull(id, f) && IsWholeInt64(store.Number(id, f)))
        cells.AddCell(static_cast<std::int64_t>(store.Number(id, f)));
      else
        cells.AddCell(store.Value(id, f));
    }
    cells.EndRow();
  }
  blocks_ = std::move(cells.blocks_);
}

PacketRows::RowRef PacketRows::at(std::size_t r) {
  if (r >= rows_) throw std::out_of_range("Linha " + std::to_string(r) + " fora do pacote.");
  return (*this)[r];
}

PacketRows::ConstRowRef PacketRows::at(std::size_t r) const {
  if (r >= rows_) throw std::out_of_range("Linha " + std::to_string(r) + " fora do pacote.");
  return (*this)[r];
}

void PacketRows::push_back(Row row) {
  Edit();
  if (rows_ > 0 && row.size() != width_)
    throw std::invalid_argument("Linha com " + std::to_string(row.size()) + " valores entre linhas de " +
                                std::to_string(width_) + ".");
  StartRow();
  for (Variant& cell : row) AddCell(std::move(cell));
  EndRow();
}

void PacketRows::pop_back() {
  Edit();
  if (rows_ == 0) return;
  if (rows_ == 1) {
    clear();
    return;
  }
  if (width_ > 0) {
    std::vector<Variant>& last = blocks_.back();
    last.erase(last.end() - static_cast<std::ptrdiff_t>(width_), last.end());
    if (last.empty()) blocks_.pop_back();
  }
  --rows_;
}

void PacketRows::clear() {
  columns_.reset();
  lazy_.reset();
  blocks_.clear();
  rows_ = width_ = open_ = 0;
}

void PacketRows::StartRow() {
  Edit();
  // A row left unfinished is dropped.
  if (open_ > 0) {
    std::vector<Variant>& last = blocks_.back();
    last.erase(last.end() - static_cast<std::ptrdiff_t>(open_), last.end());
    open_ = 0;
  }
  if (blocks_.empty()) {
    blocks_.emplace_back();
  } else if (rows_ > 0 && width_ > 0 && blocks_.back().size() >= RowsPerBlock() * width_) {
    blocks_.emplace_back().reserve(RowsPerBlock() * width_);
  }
}

bool PacketRows::EndRow() {
  Edit();
  if (rows_ == 0) {
    // The first row sets the width; its block now knows how many cells it holds.
    width_ = open_;
    if (width_ > 0) blocks_.back().reserve(RowsPerBlock() * width_);
  } else if (open_ != width_) {
    std::vector<Variant>& last = blocks_.back();
    last.erase(last.end() - static_cast<std::ptrdiff_t>(open_), last.end());
    open_ = 0;
    return false;
  }
  ++rows_;
  open_ = 0;
  return true;
}

bool operator==(const PacketRows& a, const PacketRows& b) {
  a.Read();
  b.Read();
  if (a.rows_ != b.rows_) return false;
  if (a.rows_ == 0) return true;
  if (a.width_ != b.width_) return false;
  for (std::size_t r = 0; r < a.rows_; ++r) {
    PacketRows::ConstRowRef x = a[r], y = b[r];
    for (std::size_t c = 0; c < a.width_; ++c)
      if (!(x[c] == y[c])) return false;
  }
  return true;
}
