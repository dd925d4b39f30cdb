#pragma once
// Runs a parsed scenario against whatever forms exist, answering the
// dialogs from the script through a ScriptedUi. The module is entered through
// `open`, which calls the entry the runner was given; tests give a function
// that builds their own form.

#include <functional>
#include <ostream>

#include "lib/corvane.h"
#include "script.h"
#include "ui/scripted_ui.h"

namespace dxscript {

struct RunResult {
  int passed = 0;        // expectations that held
  int failed = 0;        // 1 when a step failed: the run stops there
  int failed_line = 0;   // the line of that step; 0 for the end of the script
  std::string failure;   // what was expected and what was found
  bool Ok() const { return failed == 0; }
};

struct RunnerSetup {
  LoginEnvironment login;      // applied before the first step; `login` changes it
  std::function<void()> load;  // run by `open` first: readies the entry; a throw fails the step
  std::function<void()> open;  // then the entry itself, as the host calls it
};

// Checks the script (throws ScriptSyntaxError) and runs it, printing each
// step to `out`. The UI service must already be `ui`. A step that fails ends
// the run; answers still queued at the end fail it too.
RunResult RunScript(const Script& script, ScriptedUi& ui, const RunnerSetup& setup, std::ostream& out);

// "N passed, M failed".
std::string Summary(const RunResult& result);

}  // namespace dxscript
