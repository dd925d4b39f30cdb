#pragma once
// Every command the language has: its verb (and for `expect`, the kind of
// expectation), how many words it takes, which options, and what runs it.

#include <string>
#include <vector>

#include "script.h"

namespace dxscript {

class Session;

using CommandHandler = void (*)(Session& session, const Command& cmd);

struct CommandSpec {
  std::string verb;
  std::string kind;  // for `expect`: the word after it ("text", "message", ...)
  int min_args = 0;  // positional words after the verb (and the kind)
  int max_args = 0;
  std::vector<std::string> options;
  CommandHandler handler = nullptr;
};

const std::vector<CommandSpec>& CommandTable();
// The definition of a command; throws ScriptSyntaxError naming the line when the
// command does not exist or its words and options do not fit.
const CommandSpec& SpecFor(const Command& cmd);
// Checks every command, blocks included, before anything runs.
void CheckScript(const Script& script);

// The handlers, grouped by what they do.
void RunLogin(Session&, const Command&);
void RunOpen(Session&, const Command&);
void RunForm(Session&, const Command&);
void RunActivate(Session&, const Command&);
void RunClose(Session&, const Command&);
void RunType(Session&, const Command&);
void RunKeys(Session&, const Command&);
void RunFocus(Session&, const Command&);
void RunClick(Session&, const Command&);
void RunCheck(Session&, const Command&);
void RunUncheck(Session&, const Command&);
void RunKey(Session&, const Command&);
void RunMenu(Session&, const Command&);
void RunSelect(Session&, const Command&);
void RunTitle(Session&, const Command&);
void RunEditButton(Session&, const Command&);
void RunAnswer(Session&, const Command&);
void RunPick(Session&, const Command&);
void RunOnModal(Session&, const Command&);
void RunShortfall(Session&, const Command&);
void RunStatement(Session&, const Command&);

void ExpectMessage(Session&, const Command&);
void ExpectMessageType(Session&, const Command&);
void ExpectNoMessage(Session&, const Command&);
void ExpectException(Session&, const Command&);
void ExpectNoException(Session&, const Command&);
void ExpectAnimation(Session&, const Command&);
void ExpectNoAnimation(Session&, const Command&);
void ExpectText(Session&, const Command&);
void ExpectCaption(Session&, const Command&);
void ExpectEnabled(Session&, const Command&);
void ExpectVisible(Session&, const Command&);
void ExpectReadOnly(Session&, const Command&);
void ExpectChecked(Session&, const Command&);
void ExpectFocus(Session&, const Command&);
void ExpectActiveForm(Session&, const Command&);
void ExpectRows(Session&, const Command&);
void ExpectField(Session&, const Command&);
void ExpectCell(Session&, const Command&);
void ExpectStyle(Session&, const Command&);
void ExpectDocument(Session&, const Command&);

}  // namespace dxscript
