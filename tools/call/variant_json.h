#pragma once
// How the command-line client reads its arguments and prints results:
// JSON for values (nlohmann-json), packets as
// {"fields":[{"name","type","size"}],"rows":[[..]]}, dates as
// "dd/mm/yyyy hh:mm:ss". Plain functions: safe from any thread.

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/variant.h"

// JSON that is no value the server takes (an object that is no packet, a
// ragged row...).
class JsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Objects keep their members in the order written, so packets print
// "fields" before "rows".
using Json = nlohmann::ordered_json;

// An argument as typed: its JSON value when it is JSON, otherwise the text
// itself. A JSON object must be a packet; anything else throws JsonError.
Variant ArgumentValue(const std::string& arg);

// The JSON value as a Variant: whole numbers that fit 64 bits are integers,
// other numbers doubles; objects become packets (JsonError otherwise).
Variant VariantFromJson(const Json& j);

// Compact JSON; doubles keep a ".0" so they read back as doubles, and
// non-finite ones print as null.
std::string VariantToJson(const Variant& v);

std::string FormatDateTime(DateTime d);
// Reads "dd/mm/yyyy" or "dd/mm/yyyy hh:mm[:ss]"; false when it is neither.
bool ParseDateTime(std::string_view s, DateTime& out);
