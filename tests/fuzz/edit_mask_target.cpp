// The edit mask of masked edits: the input's first line is the mask, the
// rest is what the user does in the edit (characters typed, a backspace for
// byte 0x08, the caret moved by 0x01..0x07, a value pasted after 0x0e up to
// the next 0x0e). The edit text keeps one character per position and the
// caret stays inside it whatever the mask and the keys.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/edit_mask.h"
#include "ui/utf8.h"

namespace {

void Check(const ui::EditMask& mask, const std::u32string& text, std::size_t caret) {
  if (text.size() != mask.Positions() || caret > text.size()) std::abort();
  const int invalid = mask.FirstInvalid(text);
  if (invalid < -1 || invalid >= static_cast<int>(text.size())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string_view spec = input.substr(0, newline);
  const std::string_view actions = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

  const ui::EditMask mask(spec);
  std::u32string text = mask.BlankEditText();
  std::size_t caret = 0;
  Check(mask, text, caret);

  const std::u32string keys = ui::Utf8Decode(actions);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const char32_t key = keys[i];
    if (key == 0x08) {
      mask.Backspace(text, caret);
    } else if (key >= 0x01 && key <= 0x07) {
      caret = std::min<std::size_t>(key - 1, text.size());
    } else if (key == 0x0e) {
      // A pasted value: what the edit shows for it, then read back as Text.
      const std::size_t end = keys.find(U'\x0e', i + 1);
      const std::u32string value = keys.substr(i + 1, end == std::u32string::npos ? std::u32string::npos : end - i - 1);
      text = mask.EditTextFor(ui::Utf8Encode(value));
      caret = 0;
      i = end == std::u32string::npos ? keys.size() : end;
    } else {
      mask.Type(text, caret, key);
    }
    Check(mask, text, caret);
    (void)mask.TextFrom(text);
    (void)mask.IsBlank(text);
  }
  (void)mask.EditTextFor(mask.TextFrom(text));
  return 0;
}
