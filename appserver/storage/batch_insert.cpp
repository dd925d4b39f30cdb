#include "storage/batch_insert.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

#include "storage/database.h"

BatchInsert::BatchInsert(Database& db, std::string head, std::string row, int rowsPerStatement)
    : db_(db),
      head_(std::move(head)),
      row_(std::move(row)),
      valuesPerRow_(static_cast<int>(std::count(row_.begin(), row_.end(), '?'))),
      rowsPerStatement_(rowsPerStatement) {
  if (valuesPerRow_ == 0 || rowsPerStatement_ < 1) throw std::logic_error("BatchInsert sem valores por linha.");
}

// The statement of `rows` rows, the row's ? numbered ?1, ?2... across them.
std::string BatchInsert::sqlFor(int rows) const {
  std::string sql = head_ + " VALUES ";
  int n = 0;
  for (int r = 0; r < rows; ++r) {
    if (r > 0) sql += ", ";
    for (char c : row_) {
      if (c == '?')
        sql += "?" + std::to_string(++n);
      else
        sql += c;
    }
  }
  return sql;
}

void BatchInsert::flush() {
  if (pending_.empty()) return;
  if (pending_.size() % static_cast<std::size_t>(valuesPerRow_) != 0)
    throw std::logic_error("BatchInsert: linha com número errado de valores.");
  const int rows = static_cast<int>(pending_.size()) / valuesPerRow_;
  std::optional<Statement> partial;
  Statement* st = nullptr;
  if (rows == rowsPerStatement_) {
    if (!full_) full_.emplace(db_.prepare(sqlFor(rows)));
    st = &*full_;
  } else {
    partial.emplace(db_.prepare(sqlFor(rows)));
    st = &*partial;
  }
  int index = 0;
  for (const Value& v : pending_)
    std::visit(
        [&](const auto& value) {
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>)
            st->bindInPlace(++index, value);
          else
            st->bind(++index, value);
        },
        v);
  // The texts are read where pending_ holds them, so they are let go only
  // once the statement ran and was reset, whether it failed or not.
  try {
    st->run();
  } catch (...) {
    st->reset();
    pending_.clear();
    throw;
  }
  pending_.clear();
}
