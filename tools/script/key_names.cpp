#include "key_names.h"

#include <cctype>
#include <map>
#include <string>

namespace dxscript {

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

const std::map<std::string, int>& NamedKeys() {
  static const std::map<std::string, int> keys = {
      {"ENTER", VK_RETURN},  {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
      {"DELETE", VK_DELETE}, {"DEL", VK_DELETE},    {"INSERT", VK_INSERT}, {"INS", VK_INSERT},
      {"BACKSPACE", VK_BACK}, {"BKSP", VK_BACK},    {"TAB", VK_TAB},       {"SPACE", VK_SPACE},
      {"HOME", VK_HOME},     {"END", VK_END},       {"PAGEUP", VK_PRIOR},  {"PGUP", VK_PRIOR},
      {"PAGEDOWN", VK_NEXT}, {"PGDN", VK_NEXT},     {"UP", VK_UP},         {"DOWN", VK_DOWN},
      {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT}};
  return keys;
}

bool TakePrefix(std::string& rest, std::string_view prefix) {
  if (rest.size() <= prefix.size() || rest.compare(0, prefix.size(), prefix) != 0) return false;
  rest.erase(0, prefix.size());
  return true;
}

}  // namespace

std::optional<KeyStroke> ParseKeyName(std::string_view text) {
  std::string rest = Upper(text);
  KeyStroke stroke;
  for (;;) {
    if (TakePrefix(rest, "CTRL+")) {
      stroke.shift |= ssCtrl;
    } else if (TakePrefix(rest, "SHIFT+")) {
      stroke.shift |= ssShift;
    } else if (TakePrefix(rest, "ALT+")) {
      stroke.shift |= ssAlt;
    } else {
      break;
    }
  }
  if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
    stroke.key = rest[0];
    return stroke;
  }
  if (rest.size() >= 2 && rest[0] == 'F') {
    int n = 0;
    for (std::size_t i = 1; i < rest.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(rest[i])) || i > 2) return std::nullopt;
      n = n * 10 + (rest[i] - '0');
    }
    if (n < 1 || n > 12) return std::nullopt;
    stroke.key = VK_F1 + n - 1;
    return stroke;
  }
  auto it = NamedKeys().find(rest);
  if (it == NamedKeys().end()) return std::nullopt;
  stroke.key = it->second;
  return stroke;
}

char32_t TypedCharacter(const KeyStroke& stroke) {
  if (stroke.shift & (ssCtrl | ssAlt)) return 0;
  switch (stroke.key) {
    case VK_RETURN: return U'\r';
    case VK_ESCAPE: return U'\x1b';
    case VK_BACK: return U'\b';
    case VK_SPACE: return U' ';
    default: break;
  }
  if (stroke.key >= '0' && stroke.key <= '9') return static_cast<char32_t>(stroke.key);
  if (stroke.key >= 'A' && stroke.key <= 'Z')
    return static_cast<char32_t>((stroke.shift & ssShift) ? stroke.key : stroke.key - 'A' + 'a');
  return 0;
}

}  // namespace dxscript
