// Answers queued for the dialogs to come: message buttons, pick lists and
// the commands to run while a modal form is shown.

#include <map>

#include "command_table.h"
#include "session.h"

namespace dxscript {

void RunAnswer(Session& s, const Command& cmd) {
  static const std::map<std::string, TModalResult> answers = {
      {"yes", mrYes}, {"no", mrNo}, {"ok", mrOk}, {"cancel", mrCancel},
      {"abort", mrAbort}, {"retry", mrRetry}, {"ignore", mrIgnore}};
  auto it = answers.find(cmd.args[0].text);
  if (it == answers.end()) throw StepFailure("answer must be yes, no, ok, cancel, abort, retry or ignore, not " + Quote(cmd.args[0].text));
  s.Ui().AnswerMessage(it->second);
}

void RunPick(Session& s, const Command& cmd) {
  const std::string& what = cmd.args[0].text;
  if (what == "none") {
    s.Ui().DeclinePick();
    return;
  }
  int row = 0;
  try {
    std::size_t used = 0;
    row = std::stoi(what, &used);
    if (used != what.size()) row = 0;
  } catch (const std::exception&) {
  }
  if (row < 1) throw StepFailure("pick takes a row number from 1, or none; not " + Quote(what));
  s.Ui().AnswerPickRow(row);
}

void RunOnModal(Session& s, const Command& cmd) {
  // The command lives as long as the script, which outlives the run.
  const Command* block = &cmd;
  s.Ui().DriveModal([&s, block](TForm& form) { s.DriveModal(form, *block); });
}

}  // namespace dxscript
