#pragma once
// The colours the main screen draws with, as 0xRRGGBB. System colours take
// their usual desktop values; the renderer may map them to the theme's.

#include <cstdint>

namespace workspace {

using Rgb = std::uint32_t;

inline constexpr Rgb kRed = 0xFF0000;            // clRed
inline constexpr Rgb kOlive = 0x808000;          // clOlive
inline constexpr Rgb kGray = 0x808080;           // clGray: red, green and blue 128
inline constexpr Rgb kBlue = 0x0000FF;           // clBlue
inline constexpr Rgb kPurple = 0x800080;         // clPurple
inline constexpr Rgb kGreen = 0x008000;          // clGreen
inline constexpr Rgb kTeal = 0x008080;           // clTeal
inline constexpr Rgb kFuchsia = 0xFF00FF;        // clFuchsia
inline constexpr Rgb kInfoBk = 0xFFFFE1;         // clInfoBk: tool-tip background
inline constexpr Rgb kWindowText = 0x000000;     // clWindowText
inline constexpr Rgb kHighlight = 0x0078D7;      // clHighlight
inline constexpr Rgb kHighlightText = 0xFFFFFF;  // clHighlightText
inline constexpr Rgb kBtnFace = 0xF0F0F0;        // clBtnFace

}  // namespace workspace
