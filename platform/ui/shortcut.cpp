#include "ui/shortcut.h"

#include <cctype>
#include <map>

#include "ui/utf8.h"

namespace {

const std::map<std::string, int>& NamedKeys() {
  static const std::map<std::string, int> keys = {
      {"BKSP", VK_BACK}, {"TAB", VK_TAB},     {"ENTER", VK_RETURN}, {"ESC", VK_ESCAPE},
      {"SPACE", VK_SPACE}, {"PGUP", VK_PRIOR}, {"PGDN", VK_NEXT},   {"END", VK_END},
      {"HOME", VK_HOME}, {"LEFT", VK_LEFT},   {"UP", VK_UP},        {"RIGHT", VK_RIGHT},
      {"DOWN", VK_DOWN}, {"INS", VK_INSERT},  {"DEL", VK_DELETE}};
  return keys;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

TShortCut ShortCut(int key, TShiftState shift) {
  TShortCut sc = key & 0xFF;
  if (shift & ssShift) sc |= scShift;
  if (shift & ssCtrl) sc |= scCtrl;
  if (shift & ssAlt) sc |= scAlt;
  return sc;
}

TShortCut TextToShortCut(std::string_view text) {
  std::string rest = Upper(text);
  TShortCut mods = 0;
  for (;;) {
    if (rest.rfind("CTRL+", 0) == 0) {
      mods |= scCtrl;
      rest.erase(0, 5);
    } else if (rest.rfind("SHIFT+", 0) == 0) {
      mods |= scShift;
      rest.erase(0, 6);
    } else if (rest.rfind("ALT+", 0) == 0) {
      mods |= scAlt;
      rest.erase(0, 4);
    } else {
      break;
    }
  }
  if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) return mods | rest[0];
  if (rest.size() >= 2 && rest[0] == 'F') {
    int n = 0;
    for (std::size_t i = 1; i < rest.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(rest[i]))) return scNone;
      n = n * 10 + (rest[i] - '0');
    }
    if (n >= 1 && n <= 12) return mods | (VK_F1 + n - 1);
    return scNone;
  }
  auto it = NamedKeys().find(rest);
  return it == NamedKeys().end() ? scNone : (mods | it->second);
}

std::string ShortCutToText(TShortCut shortcut) {
  if (shortcut == scNone) return "";
  std::string out;
  if (shortcut & scShift) out += "Shift+";
  if (shortcut & scCtrl) out += "Ctrl+";
  if (shortcut & scAlt) out += "Alt+";
  int key = shortcut & 0xFF;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    out.push_back(static_cast<char>(key));
  } else if (key >= VK_F1 && key < VK_F1 + 12) {
    // Appended, not `"F" + std::string`: GCC 12 at -O3 warns falsely (-Wrestrict).
    out.append(1, 'F').append(std::to_string(key - VK_F1 + 1));
  } else {
    for (const auto& [name, code] : NamedKeys()) {
      if (code == key) {
        out += name[0] + std::string(name.begin() + 1, name.end());
        for (std::size_t i = out.size() - name.size() + 1; i < out.size(); ++i)
          out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[i])));
        return out;
      }
    }
    return "";
  }
  return out;
}

std::string StripHotkey(std::string_view caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out.push_back('&');
      else continue;
      ++i;
      continue;
    }
    out.push_back(caption[i]);
  }
  return out;
}

char32_t HotkeyOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    std::u32string rest = ui::Utf8Decode(caption.substr(i + 1));
    return rest.empty() ? 0 : ui::UpperChar(rest[0]);
  }
  return 0;
}
