#pragma once
// How the command-line client reads its arguments and prints results:
// JSON for values, packets as {"fields":[{"name","type","size"}],"rows":[[..]]},
// dates as "dd/mm/yyyy hh:mm:ss".

#include <string>
#include <string_view>

#include "data/variant.h"
#include "json.h"

// An argument as typed: its JSON value when it is JSON, otherwise the text
// itself. A JSON object must be a packet; anything else throws JsonError.
Variant ArgumentValue(const std::string& arg);

// The JSON value as a Variant; objects become packets (JsonError otherwise).
Variant VariantFromJson(const Json& j);

std::string VariantToJson(const Variant& v);

std::string FormatDateTime(DateTime d);
// Reads "dd/mm/yyyy" or "dd/mm/yyyy hh:mm[:ss]"; false when it is neither.
bool ParseDateTime(std::string_view s, DateTime& out);
