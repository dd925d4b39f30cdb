#include <string>
#include <vector>

#include "lib/consiste.h"

namespace {

// One element of the picture part of an edit mask: a position the user fills
// or a literal shown as is.
struct MaskSlot {
  bool input;
  char literal;
};

bool IsInputChar(char c) {
  switch (c) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
      return true;
    default:
      return false;
  }
}

bool IsModifier(char c) { return c == '!' || c == '>' || c == '<'; }

struct ParsedMask {
  std::vector<MaskSlot> slots;
  bool savesLiterals = true;
};

// mask;saveLiterals;blank — only the picture and the second field matter here.
ParsedMask ParseMask(std::string_view mask) {
  ParsedMask parsed;
  std::size_t i = 0;
  for (; i < mask.size() && mask[i] != ';'; ++i) {
    const char c = mask[i];
    if (c == '\\' && i + 1 < mask.size()) {
      parsed.slots.push_back({false, mask[++i]});
    } else if (IsInputChar(c)) {
      parsed.slots.push_back({true, 0});
    } else if (!IsModifier(c)) {
      parsed.slots.push_back({false, c});
    }
  }
  if (i < mask.size()) {
    const std::string_view rest = mask.substr(i + 1);
    parsed.savesLiterals = rest.empty() || rest.front() != '0';
  }
  return parsed;
}

}  // namespace

std::string DateMask() { return "!99/99/9999;1;_"; }

std::string FormatMaskText(std::string_view mask, std::string_view value) {
  const ParsedMask parsed = ParseMask(mask);
  std::size_t inputs = 0;
  for (const MaskSlot& slot : parsed.slots) inputs += slot.input ? 1 : 0;
  if (parsed.savesLiterals || inputs == 0 || value.size() != inputs) return std::string(value);

  std::string out;
  std::size_t next = 0;
  for (const MaskSlot& slot : parsed.slots) out += slot.input ? value[next++] : slot.literal;
  return out;
}
