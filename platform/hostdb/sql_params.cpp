#include "hostdb/sql_params.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Index just past a quoted run starting at `i` (a doubled quote stays inside).
std::size_t SkipQuoted(std::string_view sql, std::size_t i) {
  const char quote = sql[i++];
  while (i < sql.size()) {
    if (sql[i] == quote) {
      if (i + 1 < sql.size() && sql[i + 1] == quote) { i += 2; continue; }
      return i + 1;
    }
    ++i;
  }
  return i;
}

// Calls onParam(start, end) for each ":NAME" (start at the colon, end past the
// name) and returns nothing; quotes and comments are passed over whole.
template <typename OnParam>
void ScanParams(std::string_view sql, OnParam onParam) {
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(sql, i);
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t eol = sql.find('\n', i);
      i = eol == std::string_view::npos ? sql.size() : eol + 1;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const std::size_t close = sql.find("*/", i + 2);
      i = close == std::string_view::npos ? sql.size() : close + 2;
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      i += 2;  // a PostgreSQL cast (x::int), not a parameter
    } else if (c == ':' && i + 1 < sql.size() && IsNameStart(sql[i + 1])) {
      std::size_t end = i + 1;
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      onParam(i, end);
      i = end;
    } else {
      ++i;
    }
  }
}

}  // namespace

std::string SqlParamKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

std::vector<std::string> SqlParamNames(std::string_view sql) {
  std::vector<std::string> names;
  ScanParams(sql, [&](std::size_t start, std::size_t end) {
    std::string name(sql.substr(start + 1, end - start - 1));
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  });
  return names;
}

std::string SqlWithNumberedParams(std::string_view sql) {
  std::vector<std::string> names;
  std::string out;
  std::size_t copied = 0;
  ScanParams(sql, [&](std::size_t start, std::size_t end) {
    const std::string name(sql.substr(start + 1, end - start - 1));
    auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) found = names.insert(names.end(), name);
    out.append(sql.substr(copied, start - copied));
    out += '$' + std::to_string(found - names.begin() + 1);
    copied = end;
  });
  out.append(sql.substr(copied));
  return out;
}
