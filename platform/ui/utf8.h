#pragma once
// Code-point helpers for control texts: texts are stored as UTF-8, while
// masks, maximum lengths and case conversion work per character.

#include <string>
#include <string_view>

namespace ui {

std::u32string Utf8Decode(std::string_view text);
std::string Utf8Encode(std::u32string_view text);
std::string Utf8Encode(char32_t ch);
std::size_t Utf8Length(std::string_view text);

// Case conversion for ASCII and the Latin-1 letters the Portuguese texts use.
char32_t UpperChar(char32_t ch);
char32_t LowerChar(char32_t ch);
std::string Utf8Upper(std::string_view text);

bool IsDigitChar(char32_t ch);
bool IsLetterChar(char32_t ch);

}  // namespace ui
