#pragma once
// Text a client chose (a server name, an operator code, a method name) made
// safe to write into a log line or a refusal: control characters, a
// backslash and bytes that are not UTF-8 become visible escapes ("\n",
// "\x1b", "\\"), so a client can neither start a line of its own in the log
// nor put broken text before whoever reads it; and it is cut to a few dozen
// characters, so a long text cannot bury the rest of the line.

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kPrintableTextChars = 64;

// `text` escaped, and cut after `maxChars` characters with "…" and its full
// length in bytes ("…(4096 bytes)").
std::string PrintableText(std::string_view text, std::size_t maxChars = kPrintableTextChars);

// `line` with its control characters and invalid UTF-8 escaped, not cut:
// the last guard of the log, which writes one event per line.
std::string PrintableLine(std::string_view line);
