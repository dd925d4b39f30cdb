#pragma once
// The one SQL text both backends run: parameters are written ?N (1-based) or
// ? (the next number).
// PostgreSQL spells them $N; this rewrites them outside quoted literals and
// identifiers, and says how many parameters the text takes. Thread-safe.

#include <string>
#include <string_view>

namespace storage {

struct PostgresText {
  std::string sql;
  int parameters = 0;  // the highest N used
};

PostgresText ToPostgresPlaceholders(std::string_view sql);

}  // namespace storage
