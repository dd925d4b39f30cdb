#pragma once
// A dataset filter such as
//   IDTPDISTRATOREALI = 'TOTAL' AND IDCONTPROCESDIST = 'S'
//   DTVENCPARCELA = '05/01/2027'
//   (VRATUAREC >= 100.5 OR IDSTATREC <> 'B') AND NOT NRLANCTONF IS NULL
// Comparisons (= <> != < <= > >=) between fields and constants ('text' with
// '' for a quote, numbers with "." decimals), IS [NOT] NULL, AND, OR, NOT and
// parentheses. A constant takes the type of the field it is compared with:
// '05/01/2027' against a date field is that day. Text comparisons are
// case-sensitive; a text field's null reads as empty text.

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "data/record_store.h"

class FilterExpression {
 public:
  struct FieldRef {
    std::size_t index;
    FieldType type;
  };
  using Resolver = std::function<std::optional<FieldRef>(std::string_view name)>;

  // Throws Exception saying what could not be read.
  static std::unique_ptr<FilterExpression> Parse(std::string_view text, const Resolver& resolve);

  virtual ~FilterExpression() = default;
  virtual bool Matches(const RecordStore& store, RecordStore::Id id) const = 0;
};
