#pragma once
// Text comparisons that ignore case the way a Portuguese user expects:
// ASCII letters and the accented Latin-1 letters of UTF-8 ("Ç" and "ç").

#include <string>
#include <string_view>

std::string FoldCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Number of characters (UTF-8 code points) in s.
std::size_t Utf8Length(std::string_view s);
// The first `count` characters of s (whole code points).
std::string_view Utf8Prefix(std::string_view s, std::size_t count);
// s without its trailing blanks.
std::string_view TrimRight(std::string_view s);
