// The scenario parser of distrato-script: any text is either read into
// commands or refused with ScriptSyntaxError naming a line of the text; a
// command's line is never outside the text.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "script_parser.h"

namespace {

void CheckLines(const std::vector<dxscript::Command>& commands, int lines) {
  for (const dxscript::Command& c : commands) {
    if (c.line < 1 || c.line > lines || c.verb.empty()) std::abort();
    CheckLines(c.block, lines);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  try {
    const dxscript::Script script = dxscript::ParseScript(text);
    CheckLines(script.commands, lines);
  } catch (const dxscript::ScriptSyntaxError& e) {
    if (e.Line() < 1 || e.Line() > lines + 1) std::abort();
  }
  return 0;
}
