#pragma once
// Menu shortcuts as one number: the virtual key plus modifier bits, and the
// "Ctrl+N" text form.

#include <string>
#include <string_view>

#include "ui/ui_types.h"

using TShortCut = int;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(int key, TShiftState shift);
// "Ctrl+N", "Shift+F5", "Del"...; 0 when the text is not a shortcut.
TShortCut TextToShortCut(std::string_view text);
std::string ShortCutToText(TShortCut shortcut);

// Caption without its accelerator marks ("Conso&lida" -> "Consolida"; "&&" is a literal "&").
std::string StripHotkey(std::string_view caption);
// The accelerator letter, upper-cased, or 0 when the caption has none.
char32_t HotkeyOf(std::string_view caption);
