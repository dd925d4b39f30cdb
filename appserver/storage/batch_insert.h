#pragma once
// Rows for one table gathered and inserted many to a statement: a whole
// budget's rows go in a few hundred statements instead of one each, and the
// statement is where PostgreSQL spends its time on a large budget. The rows
// reach the table each time a statement's worth is gathered and at flush(),
// which the caller must reach before it reads the table or commits; a
// failure surfaces there. Not thread-safe.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "storage/statement.h"

class Database;

class BatchInsert {
 public:
  // `head`: "INSERT INTO T (A, B, C)"; `row`: one row's values with ? where
  // a value given to add() goes, e.g. "(?, ?, 'LANCADO')".
  BatchInsert(Database& db, std::string head, std::string row, int rowsPerStatement = 64);

  // One row: as many values as `row` has ?.
  template <typename... T>
  void add(const T&... values) {
    (push(values), ...);
    if (pending_.size() == static_cast<std::size_t>(valuesPerRow_ * rowsPerStatement_)) flush();
  }
  // Inserts the rows gathered so far.
  void flush();

 private:
  using Value = std::variant<std::nullptr_t, std::string, double, std::int64_t>;
  void push(std::string_view v) { pending_.emplace_back(std::string(v)); }
  void push(const std::string& v) { pending_.emplace_back(v); }
  void push(const char* v) { pending_.emplace_back(std::string(v)); }
  void push(double v) { pending_.emplace_back(v); }
  void push(std::int64_t v) { pending_.emplace_back(v); }
  void push(int v) { pending_.emplace_back(static_cast<std::int64_t>(v)); }
  void push(std::nullptr_t) { pending_.emplace_back(nullptr); }
  std::string sqlFor(int rows) const;

  Database& db_;
  std::string head_, row_;
  int valuesPerRow_;
  int rowsPerStatement_;
  std::vector<Value> pending_;   // the rows gathered, value after value
  std::optional<Statement> full_;  // the statement of a full batch, prepared at its first use
};
