#include "storage/placeholders.h"

#include <cctype>
#include <string>

namespace storage {

PostgresText ToPostgresPlaceholders(std::string_view sql) {
  PostgresText out;
  out.sql.reserve(sql.size());
  char quote = 0;  // the quote of the literal or identifier we are in
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      // A doubled quote inside stays inside: it toggles out and straight back in.
      if (c == quote) quote = 0;
      out.sql += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      out.sql += c;
      continue;
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      // A comment runs to the end of the line, its text untouched.
      while (i < sql.size() && sql[i] != '\n') out.sql += sql[i++];
      if (i < sql.size()) out.sql += sql[i];
      continue;
    }
    if (c == '?' && i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
      int n = 0;
      out.sql += '$';
      while (i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
        n = n * 10 + (sql[++i] - '0');
        out.sql += sql[i];
      }
      if (n > out.parameters) out.parameters = n;
      continue;
    }
    if (c == '?') {
      // A bare ? is numbered one past the highest so far, as SQLite numbers it.
      out.sql += '$' + std::to_string(++out.parameters);
      continue;
    }
    out.sql += c;
  }
  return out;
}

}  // namespace storage
