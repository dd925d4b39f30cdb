#include "command_table.h"

#include <algorithm>
#include <functional>

#include "script_parser.h"

namespace dxscript {

const std::vector<CommandSpec>& CommandTable() {
  static const std::vector<CommandSpec> table = {
      {"login", "", 0, 0, {"branch", "branch-name", "locked", "operator", "password", "date", "server", "tls", "ca"}, RunLogin},
      {"open", "", 0, 0, {}, RunOpen},
      {"form", "", 1, 1, {}, RunForm},
      {"activate", "", 1, 1, {}, RunActivate},
      {"close", "", 0, 0, {}, RunClose},
      {"type", "", 2, 2, {}, RunType},
      {"keys", "", 2, 2, {}, RunKeys},
      {"focus", "", 1, 1, {}, RunFocus},
      {"click", "", 1, 1, {}, RunClick},
      {"click!", "", 1, 1, {}, RunClick},
      {"check", "", 1, 1, {}, RunCheck},
      {"uncheck", "", 1, 1, {}, RunUncheck},
      {"key", "", 1, 2, {}, RunKey},
      {"menu", "", 1, 1, {}, RunMenu},
      {"menu!", "", 1, 1, {}, RunMenu},
      {"select", "", 1, 1, {"row", "col"}, RunSelect},
      {"title", "", 2, 2, {}, RunTitle},
      {"edit-button", "", 1, 1, {}, RunEditButton},
      {"answer", "", 1, 1, {}, RunAnswer},
      {"pick", "", 1, 1, {}, RunPick},
      {"on-modal", "", 1, 1, {}, RunOnModal},
      {"shortfall", "", 1, 1000, {}, RunShortfall},
      {"statement", "", 1, 1, {}, RunStatement},
      {"expect", "message", 1, 1, {"type"}, ExpectMessage},
      {"expect", "message-type", 1, 1, {}, ExpectMessageType},
      {"expect", "no-message", 0, 0, {}, ExpectNoMessage},
      {"expect", "exception", 1, 1, {}, ExpectException},
      {"expect", "no-exception", 0, 0, {}, ExpectNoException},
      {"expect", "animation", 1, 1, {}, ExpectAnimation},
      {"expect", "no-animation", 0, 0, {}, ExpectNoAnimation},
      {"expect", "text", 2, 2, {}, ExpectText},
      {"expect", "caption", 2, 2, {}, ExpectCaption},
      {"expect", "enabled", 2, 2, {}, ExpectEnabled},
      {"expect", "visible", 2, 2, {}, ExpectVisible},
      {"expect", "readonly", 2, 2, {}, ExpectReadOnly},
      {"expect", "checked", 2, 2, {}, ExpectChecked},
      {"expect", "focus", 1, 1, {}, ExpectFocus},
      {"expect", "active-form", 1, 1, {}, ExpectActiveForm},
      {"expect", "rows", 2, 2, {}, ExpectRows},
      {"expect", "field", 3, 3, {}, ExpectField},
      {"expect", "cell", 2, 2, {"row", "col"}, ExpectCell},
      {"expect", "document", 1, 1, {}, ExpectDocument},
      {"expect", "style", 1, 1, {"row", "col", "colour", "bold", "background"}, ExpectStyle},
  };
  return table;
}

const CommandSpec& SpecFor(const Command& cmd) {
  const bool is_expect = cmd.verb == "expect";
  if (is_expect && cmd.args.empty()) throw ScriptSyntaxError(cmd.line, "\"expect\" needs what to expect (text, message, ...)");
  const std::string kind = is_expect ? cmd.args.front().text : "";
  const auto& table = CommandTable();
  auto it = std::find_if(table.begin(), table.end(),
                         [&](const CommandSpec& s) { return s.verb == cmd.verb && s.kind == kind; });
  if (it == table.end()) {
    if (is_expect) throw ScriptSyntaxError(cmd.line, "unknown expectation \"" + kind + "\"");
    throw ScriptSyntaxError(cmd.line, "unknown command \"" + cmd.verb + "\"");
  }
  const int words = static_cast<int>(cmd.args.size()) - (is_expect ? 1 : 0);
  const std::string name = is_expect ? "expect " + kind : cmd.verb;
  if (words < it->min_args || words > it->max_args) {
    const std::string wanted = it->min_args == it->max_args
                                   ? std::to_string(it->min_args)
                                   : std::to_string(it->min_args) + " to " + std::to_string(it->max_args);
    throw ScriptSyntaxError(cmd.line, "\"" + name + "\" takes " + wanted + " word(s), found " + std::to_string(words));
  }
  for (const Option& o : cmd.options) {
    if (std::find(it->options.begin(), it->options.end(), o.key) == it->options.end())
      throw ScriptSyntaxError(cmd.line, "\"" + name + "\" has no option \"" + o.key + "\"");
  }
  if (!cmd.block.empty() && cmd.verb != "on-modal")
    throw ScriptSyntaxError(cmd.line, "only on-modal takes a block");
  return *it;
}

void CheckScript(const Script& script) {
  std::function<void(const std::vector<Command>&)> check = [&](const std::vector<Command>& commands) {
    for (const Command& cmd : commands) {
      SpecFor(cmd);
      check(cmd.block);
    }
  };
  check(script.commands);
}

}  // namespace dxscript
