#pragma once
// A small JSON reader and writer for the command-line client: a document
// tree, its parser and its printer. Strings are UTF-8; \u escapes (with
// surrogate pairs) are decoded. Numbers without fraction or exponent that
// fit 64 bits are integers, the rest doubles.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class JsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Json {
  enum class Kind { Null, Bool, Int, Double, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  std::int64_t integer = 0;
  double number = 0.0;
  std::string text;
  std::vector<Json> items;                            // Array
  std::vector<std::pair<std::string, Json>> members;  // Object, in order

  // Member by key, or nullptr.
  const Json* find(std::string_view key) const;
};

// Parses one whole document; throws JsonError (with the offset) otherwise.
Json ParseJson(std::string_view text);

// Appends `s` as a quoted, escaped JSON string.
void WriteJsonString(std::string& out, std::string_view s);
// Shortest text that reads back as the same double; keeps a ".0" so that it
// reads back as a double. Non-finite values become null.
void WriteJsonDouble(std::string& out, double d);
