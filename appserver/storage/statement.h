#pragma once
// A prepared statement of either backend: bind by position (1-based, ?N in
// the SQL text), step, read columns. Not thread-safe.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "storage/backend.h"

class Statement {
 public:
  explicit Statement(std::unique_ptr<storage::StatementBackend> backend);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&&) = delete;
  Statement(const Statement&) = delete;

  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
  Statement& bind(int index, const std::string& text) { return bind(index, std::string_view(text)); }
  // Binds a text that stays alive and unchanged until the statement is reset
  // (run() resets it): SQLite reads it where it lies instead of copying it.
  Statement& bindInPlace(int index, std::string_view text);
  Statement& bind(int index, double value);
  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
  Statement& bindNull(int index);
  Statement& bind(int index, std::nullptr_t) { return bindNull(index); }
  // Binds an optional text: empty optional as NULL.
  Statement& bindOpt(int index, const std::optional<std::string>& text);

  // Binds every argument in order from position 1.
  template <typename... T>
  Statement& bindAll(const T&... values) {
    int i = 0;
    (bind(++i, values), ...);
    return *this;
  }

  // True while a row is available.
  bool step();
  // Runs a statement whose rows are not read; throws if it fails. PostgreSQL
  // sends it without waiting: its failure surfaces at the next statement whose
  // rows are read, at Database::changes() or at commit.
  void run();
  // Back to before the first step, with no values bound.
  void reset();

  int columnCount() const;
  std::string_view columnName(int col) const;
  bool isNull(int col) const;
  std::string text(int col) const;
  // The column's text in place, valid until the next step: no copy per cell.
  std::string_view textView(int col) const;
  double real(int col) const;
  std::int64_t integer(int col) const;

 private:
  std::unique_ptr<storage::StatementBackend> backend_;
};
