#pragma once
// The arguments of a call as typed on the command line, read with what the
// protocol declares of the method: where it declares a date, a day written
// dd/mm/yyyy or yyyy-mm-dd is that date (the day's serial number still
// works). Everything else reads as ArgumentValue does. Thread-safe (no
// state).

#include <string>
#include <string_view>
#include <vector>

#include "data/variant.h"

// The argument at `index` (from 0) of `method`, typed as `text`. Throws
// JsonError as ArgumentValue does.
Variant CallArgument(std::string_view method, std::size_t index, const std::string& text);

std::vector<Variant> CallArguments(std::string_view method, const std::vector<std::string>& texts);

// A day written dd/mm/yyyy or yyyy-mm-dd; false when the text is neither or
// no real day.
bool ParseDay(std::string_view text, DateTime& out);
