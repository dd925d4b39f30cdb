#include "session.h"

#include <strings.h>

#include "command_table.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/run_handler.h"

namespace dxscript {

namespace {

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

const char* TypeName(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "warning";
    case mtError: return "error";
    case mtInformation: return "information";
    case mtConfirmation: return "confirmation";
    case mtCustom: return "custom";
  }
  return "custom";
}

const char* ResultName(TModalResult result) {
  switch (result) {
    case mrOk: return "OK";
    case mrCancel: return "Cancel";
    case mrAbort: return "Abort";
    case mrRetry: return "Retry";
    case mrIgnore: return "Ignore";
    case mrYes: return "Yes";
    case mrNo: return "No";
    default: return "none";
  }
}

std::string Describe(const ScriptedUi::Event& e) {
  using Kind = ScriptedUi::EventKind;
  const std::string answered = e.scripted ? "" : " (default answer)";
  switch (e.kind) {
    case Kind::Message:
      return std::string("message (") + TypeName(e.type) + ") " + Quote(e.text) + " -> " + ResultName(e.result) + answered;
    case Kind::Modal:
      return "modal " + e.form_name + " " + Quote(e.text) + " shown" +
             (e.scripted ? "" : ", no on-modal block: closed as by its close box");
    case Kind::PickList:
      return "pick list " + Quote(e.text) + (e.picked ? " -> row picked" : " -> nothing picked") + answered;
    case Kind::Find: return "find dialog on " + e.text + answered;
    case Kind::Exception: return "exception " + Quote(e.text);
    case Kind::ProgressShown: return "animation " + Quote(e.text);
    case Kind::Document: return "document " + Quote(e.text) + " shown" + (e.scripted ? "" : ", preview closed");
    case Kind::ProgressHidden:
    case Kind::Cursor: return "";
  }
  return "";
}

}  // namespace

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

Session::Session(ScriptedUi& ui, StepPrinter& printer, LoginEnvironment login, std::function<void()> load,
                 std::function<void()> open)
    : ui_(ui), printer_(printer), login_(std::move(login)), load_(std::move(load)), open_(std::move(open)) {
  // What the service showed before this run is not this run's to check.
  reported_ = messages_checked_ = exceptions_checked_ = ui_.Events().size();
}

void Session::ApplyLogin() { SetLoginEnvironment(login_); }

bool Session::Open() {
  if (!open_) return false;
  if (load_) load_();
  // The host enters the module from its event loop: what escapes goes to
  // the exception display.
  RunHandler(open_);
  Application().ProcessReleases();
  return true;
}

TForm& Session::CurrentForm() const {
  if (!modal_forms_.empty()) return *modal_forms_.back();
  const auto& forms = Application().Forms();
  if (!selected_form_.empty()) {
    for (TForm* f : forms)
      if (SameName(f->Name(), selected_form_)) return *f;
    throw StepFailure("the form " + selected_form_ + " no longer exists");
  }
  if (TForm* active = Application().ActiveForm()) return *active;
  if (!forms.empty()) return *forms.back();
  throw StepFailure("no form is open (did the script say open?)");
}

void Session::SelectForm(const std::string& name) {
  for (TForm* f : Application().Forms()) {
    if (SameName(f->Name(), name)) {
      selected_form_ = f->Name();
      return;
    }
  }
  std::string names;
  for (TForm* f : Application().Forms()) names += (names.empty() ? "" : ", ") + f->Name();
  throw StepFailure("no form named " + name + (names.empty() ? " (no form is open)" : " (open: " + names + ")"));
}

TComponent& Session::Component(const std::string& name) const {
  TForm& form = CurrentForm();
  if (SameName(form.Name(), name)) return form;
  if (TComponent* c = form.FindComponent(name)) return *c;
  throw StepFailure("no component " + name + " on " + (form.Name().empty() ? "the current form" : form.Name()));
}

void Session::DriveModal(TForm& form, const Command& block) {
  ReportEvents();
  const std::string& expected = block.args.front().text;
  if (!SameName(form.Name(), expected)) {
    failed_ = 1;
    failed_line_ = block.line;
    failure_ = "expected the modal form " + expected + ", found " + form.Name();
    printer_.Note("on-modal at line " + std::to_string(block.line) + " FAILED: " + failure_);
    return;
  }
  modal_forms_.push_back(&form);
  RunCommands(block.block);
  modal_forms_.pop_back();
}

std::size_t& Session::CursorFor(ScriptedUi::EventKind kind) {
  return kind == ScriptedUi::EventKind::Exception ? exceptions_checked_ : messages_checked_;
}

std::size_t Session::CursorFor(ScriptedUi::EventKind kind) const {
  return kind == ScriptedUi::EventKind::Exception ? exceptions_checked_ : messages_checked_;
}

std::vector<const ScriptedUi::Event*> Session::Unchecked(ScriptedUi::EventKind kind) const {
  std::vector<const ScriptedUi::Event*> out;
  const auto& events = ui_.Events();
  for (std::size_t i = CursorFor(kind); i < events.size(); ++i)
    if (events[i].kind == kind) out.push_back(&events[i]);
  return out;
}

void Session::MarkChecked(ScriptedUi::EventKind kind) { CursorFor(kind) = ui_.Events().size(); }

const ScriptedUi::Event* Session::LastShown(ScriptedUi::EventKind kind) const {
  const auto& events = ui_.Events();
  for (auto it = events.rbegin(); it != events.rend(); ++it)
    if (it->kind == kind) return &*it;
  return nullptr;
}

void Session::RunCommands(const std::vector<Command>& commands) {
  for (const Command& cmd : commands) {
    if (Stopped()) return;
    RunStep(cmd);
  }
}

void Session::RunStep(const Command& cmd) {
  printer_.Begin(cmd);
  std::string failure;
  try {
    SpecFor(cmd).handler(*this, cmd);
    Application().ProcessReleases();
  } catch (const StepFailure& f) {
    failure = f.what();
  } catch (const std::exception& e) {
    failure = std::string("error: ") + e.what();
  }
  ReportEvents();
  if (!failure.empty() && !Stopped()) {
    failed_ = 1;
    failed_line_ = cmd.line;
    failure_ = failure;
    printer_.End(cmd, "FAILED: " + failure);
  } else if (Stopped()) {
    printer_.End(cmd, "stopped by the failure at line " + std::to_string(failed_line_));
  } else {
    printer_.End(cmd, "ok");
  }
}

void Session::FailAtEnd(const std::string& message) {
  failed_ = 1;
  failed_line_ = 0;
  failure_ = message;
  printer_.Line("end of script: FAILED: " + message);
}

void Session::ReportEvents() {
  const auto& events = ui_.Events();
  if (reported_ > events.size()) reported_ = 0;  // the record was cleared
  for (; reported_ < events.size(); ++reported_) {
    const std::string text = Describe(events[reported_]);
    if (!text.empty()) printer_.Note("  " + text);
  }
}

}  // namespace dxscript
