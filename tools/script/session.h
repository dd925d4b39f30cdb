#pragma once
// The state of one script run: the UI service answering for the user, the
// form the commands act on, what has been checked so far, and the outcome.
// Command handlers work on it; a handler that cannot do its step, or whose
// expectation does not hold, throws StepFailure.

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lib/corvane.h"
#include "script.h"
#include "step_printer.h"
#include "ui/scripted_ui.h"

class TComponent;
class TForm;

namespace dxscript {

class StepFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Session {
 public:
  Session(ScriptedUi& ui, StepPrinter& printer, LoginEnvironment login, std::function<void()> load,
          std::function<void()> open);

  ScriptedUi& Ui() { return ui_; }
  StepPrinter& Printer() { return printer_; }

  // --- login and module ---
  LoginEnvironment& Login() { return login_; }
  void ApplyLogin();
  // Readies and runs the module's entry; false when the runner was given none.
  bool Open();

  // --- forms and components ---
  // The form commands act on: the modal form of the on-modal block running,
  // else the form chosen with `form`, else the application's active form,
  // else the newest form.
  TForm& CurrentForm() const;
  void SelectForm(const std::string& name);
  // A component of the current form by name; a missing one fails the step.
  TComponent& Component(const std::string& name) const;
  template <class T>
  T& ComponentAs(const std::string& name, const char* kind) const;

  // --- dialogs ---
  // Runs an on-modal block against the modal form the UI service shows.
  void DriveModal(TForm& form, const Command& block);
  // Messages and exceptions shown since the last expectation about them.
  std::vector<const ScriptedUi::Event*> Unchecked(ScriptedUi::EventKind kind) const;
  void MarkChecked(ScriptedUi::EventKind kind);
  const ScriptedUi::Event* LastShown(ScriptedUi::EventKind kind) const;

  // --- running ---
  void RunCommands(const std::vector<Command>& commands);
  void Pass() { ++passed_; }
  bool Stopped() const { return failed_ > 0; }
  int Passed() const { return passed_; }
  int Failed() const { return failed_; }
  int FailedLine() const { return failed_line_; }
  const std::string& Failure() const { return failure_; }
  // Ends the run with a failure not tied to a step (line 0: end of script).
  void FailAtEnd(const std::string& message);

 private:
  void RunStep(const Command& cmd);
  // Prints what the screen showed since the last report.
  void ReportEvents();
  std::size_t& CursorFor(ScriptedUi::EventKind kind);
  std::size_t CursorFor(ScriptedUi::EventKind kind) const;

  ScriptedUi& ui_;
  StepPrinter& printer_;
  LoginEnvironment login_;
  std::function<void()> load_;
  std::function<void()> open_;
  std::string selected_form_;
  std::vector<TForm*> modal_forms_;
  std::size_t reported_ = 0;
  std::size_t messages_checked_ = 0;
  std::size_t exceptions_checked_ = 0;
  int passed_ = 0;
  int failed_ = 0;
  int failed_line_ = 0;
  std::string failure_;
};

// Quotes a text for messages: "abc" with \" and \\ escaped.
std::string Quote(const std::string& text);

template <class T>
T& Session::ComponentAs(const std::string& name, const char* kind) const {
  TComponent& c = Component(name);
  if (auto* typed = dynamic_cast<T*>(&c)) return *typed;
  throw StepFailure(name + " is not " + kind);
}

}  // namespace dxscript
