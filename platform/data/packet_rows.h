#pragma once
// The rows of a data packet, every row as wide as the first, their cells back
// to back in blocks of a few thousand: a packet of 100,000 rows costs a few
// hundred allocations instead of one vector per row, and the blocks are small
// enough for the allocator to hand the same memory to the next packet. A row
// is a span over its cells, valid until rows are added or removed. Not
// thread-safe; a const one may be read from several threads.
//
// Rows a decoder filled as typed columns (`PacketRows(columns)`) stay in them
// until a cell is first read: a dataset loading the packet copies the columns
// as they are (`Columns()`), or takes them when the packet is its alone
// (`SoleColumns()`), and the cells are built only for whoever reads them one
// by one.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "variant.h"

class RecordStore;

class PacketRows {
 public:
  using Row = std::vector<Variant>;
  using RowRef = std::span<Variant>;
  using ConstRowRef = std::span<const Variant>;

  template <class R, class Owner>
  class Iterator {
   public:
    using value_type = R;
    using reference = R;
    using difference_type = std::ptrdiff_t;
    using iterator_category = std::input_iterator_tag;
    Iterator() = default;
    Iterator(Owner* owner, std::size_t row) : owner_(owner), row_(row) {}
    R operator*() const { return (*owner_)[row_]; }
    Iterator& operator++() {
      ++row_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++row_;
      return before;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.row_ == b.row_; }

   private:
    Owner* owner_ = nullptr;
    std::size_t row_ = 0;
  };
  using iterator = Iterator<RowRef, PacketRows>;
  using const_iterator = Iterator<ConstRowRef, const PacketRows>;

  PacketRows() = default;
  // The rows of `columns`, in its order, each record's cells as its values
  // (a whole number in a float column as an integer, as the wire carries it).
  explicit PacketRows(std::shared_ptr<RecordStore> columns);
  PacketRows(const PacketRows& other);
  PacketRows(PacketRows&& other) noexcept = default;
  PacketRows& operator=(const PacketRows& other);
  PacketRows& operator=(PacketRows&& other) noexcept = default;
  ~PacketRows();

  // The columns the rows were decoded into, while no cell was changed; null
  // for rows added cell by cell.
  const RecordStore* Columns() const { return columns_.get(); }
  // The same columns to take from, when no other packet shares them; null
  // otherwise. Only for a caller that holds the packet alone and drops it
  // right after: what it takes leaves these rows hollow.
  std::shared_ptr<RecordStore> SoleColumns() const { return columns_.use_count() == 1 ? columns_ : nullptr; }

  std::size_t size() const { return rows_; }
  bool empty() const { return rows_ == 0; }
  // Cells per row (0 until the first row arrives).
  std::size_t width() const { return width_; }

  RowRef operator[](std::size_t r) {
    Edit();
    return {Cell(r), width_};
  }
  ConstRowRef operator[](std::size_t r) const {
    Read();
    return {const_cast<PacketRows*>(this)->Cell(r), width_};
  }
  // Row by index; throws std::out_of_range past the end.
  RowRef at(std::size_t r);
  ConstRowRef at(std::size_t r) const;
  RowRef back() { return (*this)[rows_ - 1]; }
  ConstRowRef back() const { return (*this)[rows_ - 1]; }

  iterator begin() {
    Edit();
    return {this, 0};
  }
  iterator end() { return {this, rows_}; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, rows_}; }

  // Appends a row; throws std::invalid_argument when its width differs from the rows' before it.
  void push_back(Row row);
  void pop_back();
  void clear();
  // Nothing to reserve: rows come in blocks.
  void reserve(std::size_t) {}

  // Row by row, cell by cell, for a decoder: StartRow() (dropping a row
  // left unfinished), AddCell() per cell (false once the row is wider than
  // the rows before it), then EndRow() (false, with the row dropped, when
  // its width differs).
  void StartRow();
  template <class... A>
  bool AddCell(A&&... value) {
    Edit();
    if (rows_ > 0 && open_ == width_) return false;
    blocks_.back().emplace_back(std::forward<A>(value)...);
    ++open_;
    return true;
  }
  bool EndRow();

  friend bool operator==(const PacketRows& a, const PacketRows& b);

 private:
  static constexpr std::size_t kBlockCells = 2048;  // 64 KiB of cells

  // The cells built from the columns, once, whoever asks first.
  void Read() const {
    if (lazy_) std::call_once(lazy_->built, [this] { BuildCells(); });
  }
  // Cells about to change: the columns no longer tell the rows.
  void Edit() {
    if (!columns_) return;
    Read();
    columns_.reset();
    lazy_.reset();
  }
  void BuildCells() const;
  struct Lazy {
    std::once_flag built;
  };

  std::size_t RowsPerBlock() const { return width_ == 0 ? std::size_t(-1) : std::max<std::size_t>(1, kBlockCells / width_); }
  Variant* Cell(std::size_t r) {
    if (width_ == 0) return nullptr;
    const std::size_t per = RowsPerBlock();
    return blocks_[r / per].data() + (r % per) * width_;
  }

  // Filled by BuildCells() in a const read, under `lazy_`'s flag.
  mutable std::vector<std::vector<Variant>> blocks_;
  std::size_t rows_ = 0;
  std::size_t width_ = 0;
  std::size_t open_ = 0;  // cells of the row being added
  std::shared_ptr<RecordStore> columns_;  // shared by copies of these rows
  std::unique_ptr<Lazy> lazy_;  // while the cells are still to be built from the columns
};
