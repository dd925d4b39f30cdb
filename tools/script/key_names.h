#pragma once
// Key names as a scenario writes them: "Enter", "Delete", "F2", "Ctrl+D",
// "Shift+Tab". Modifiers are Ctrl+, Shift+ and Alt+ in any order; the key is
// a letter, a digit, F1..F12 or a named key (Enter, Return, Escape, Esc,
// Delete, Del, Insert, Ins, Backspace, Tab, Space, Home, End, PageUp, PageDown,
// Up, Down, Left, Right), any case.

#include <optional>
#include <string_view>

#include "ui/ui_types.h"

namespace dxscript {

struct KeyStroke {
  int key = 0;
  TShiftState shift = ssNone;
};

std::optional<KeyStroke> ParseKeyName(std::string_view text);

// The character the key types when nobody swallowed it (Enter -> '\r'), or 0.
char32_t TypedCharacter(const KeyStroke& stroke);

}  // namespace dxscript
