#pragma once
// The main screen's message catalogue msgPadrao: one "KEY|text" line per
// message; a text holding "%s" takes one argument (TMessages formats it).
// The values dialog takes its texts from here as well, and the
// operations translate the server's "N_PARAM_" refusals through it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workspace {

// The lines as the catalogue component is loaded with them. A text may hold
// a carriage return and line feed of its own (N_PARAM_EMPRESARELAC).
const std::vector<std::string>& MainScreenMessages();

// The text after the first "|" of the line whose key is `key` (exact case).
std::optional<std::string> FindMessage(const std::vector<std::string>& lines,
                                       std::string_view key);

// The main screen's text for `key`; a key with no line is a programming
// error and throws std::out_of_range.
std::string Msg(std::string_view key);

}  // namespace workspace
