#include "script_runner.h"

#include "command_table.h"
#include "session.h"
#include "step_printer.h"

namespace dxscript {

RunResult RunScript(const Script& script, ScriptedUi& ui, const RunnerSetup& setup, std::ostream& out) {
  CheckScript(script);
  StepPrinter printer(out);
  Session session(ui, printer, setup.login, setup.load, setup.open);
  session.ApplyLogin();
  session.RunCommands(script.commands);
  if (!session.Stopped() && ui.PendingAnswers() > 0) {
    session.FailAtEnd(std::to_string(ui.PendingAnswers()) +
                      " queued answer(s) or on-modal block(s) were never used: the dialog did not appear");
  }
  RunResult result;
  result.passed = session.Passed();
  result.failed = session.Failed();
  result.failed_line = session.FailedLine();
  result.failure = session.Failure();
  return result;
}

std::string Summary(const RunResult& result) {
  return std::to_string(result.passed) + " passed, " + std::to_string(result.failed) + " failed";
}

}  // namespace dxscript
