#include "ui/scripted_ui.h"

#include "data/client_dataset.h"
#include "ui/document.h"
#include "ui/form.h"

namespace {

TModalResult DefaultAnswer(TMsgDlgButtons buttons) {
  if (buttons.Has(mbOK)) return mrOk;
  if (buttons.Has(mbCancel)) return mrCancel;
  if (buttons.Has(mbNo)) return mrNo;
  if (buttons.Has(mbYes)) return mrYes;
  return mrOk;
}

ScriptedUi::Event MakeEvent(ScriptedUi::EventKind kind, std::string text) {
  ScriptedUi::Event e{};
  e.kind = kind;
  e.text = std::move(text);
  return e;
}

template <class T>
bool Take(std::deque<T>& queue, T& out) {
  if (queue.empty()) return false;
  out = std::move(queue.front());
  queue.pop_front();
  return true;
}

}  // namespace

void ScriptedUi::AnswerMessage(TModalResult result) { message_answers_.push_back(result); }

void ScriptedUi::DriveModal(std::function<void(TForm&)> driver) { modal_drivers_.push_back(std::move(driver)); }

void ScriptedUi::AnswerPick(std::function<bool(TClientDataSet&)> chooser) { pick_answers_.push_back(std::move(chooser)); }

void ScriptedUi::AnswerPickRow(int recNo) {
  AnswerPick([recNo](TClientDataSet& data) {
    if (recNo < 1 || recNo > data.RecordCount()) return false;
    data.SetRecNo(recNo);
    return true;
  });
}

void ScriptedUi::DeclinePick() {
  AnswerPick([](TClientDataSet&) { return false; });
}

void ScriptedUi::AnswerFind(std::function<void(TClientDataSet&)> finder) { find_answers_.push_back(std::move(finder)); }

void ScriptedUi::AnswerDocument(std::function<void(const Document&)> action) {
  document_answers_.push_back(std::move(action));
}

std::size_t ScriptedUi::PendingAnswers() const {
  return message_answers_.size() + modal_drivers_.size() + pick_answers_.size() + find_answers_.size() +
         document_answers_.size();
}

std::vector<ScriptedUi::Event> ScriptedUi::EventsOf(EventKind kind) const {
  std::vector<Event> out;
  for (const Event& e : events_)
    if (e.kind == kind) out.push_back(e);
  return out;
}

std::vector<std::string> ScriptedUi::Messages() const {
  std::vector<std::string> out;
  for (const Event& e : events_)
    if (e.kind == EventKind::Message) out.push_back(e.text);
  return out;
}

std::vector<std::string> ScriptedUi::Exceptions() const {
  std::vector<std::string> out;
  for (const Event& e : events_)
    if (e.kind == EventKind::Exception) out.push_back(e.text);
  return out;
}

std::vector<std::string> ScriptedUi::ShownOverProgress() const {
  std::vector<std::string> out;
  for (const Event& e : events_)
    if (e.over_progress) out.push_back(e.text);
  return out;
}

bool ScriptedUi::AnyUnexpected() const {
  for (const Event& e : events_)
    if (!e.scripted || !e.closed_by_script) return true;
  return false;
}

void ScriptedUi::Clear() {
  message_answers_.clear();
  modal_drivers_.clear();
  pick_answers_.clear();
  find_answers_.clear();
  document_answers_.clear();
  events_.clear();
}

TModalResult ScriptedUi::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
  Event e = MakeEvent(EventKind::Message, text);
  e.over_progress = progress_visible_;
  e.type = type;
  e.buttons = buttons;
  e.scripted = Take(message_answers_, e.result);
  if (!e.scripted) e.result = DefaultAnswer(buttons);
  events_.push_back(e);
  return e.result;
}

TModalResult ScriptedUi::ShowModal(TForm& form) {
  // Recorded before the driver runs, so the record keeps the order in which
  // things appeared; the outcome is filled in afterwards.
  std::size_t index = events_.size();
  Event e = MakeEvent(EventKind::Modal, form.Caption());
  e.over_progress = progress_visible_;
  e.form_name = form.Name();
  std::function<void(TForm&)> driver;
  e.scripted = Take(modal_drivers_, driver);
  events_.push_back(e);
  bool closed = false;
  if (driver) {
    driver(form);
    closed = form.ModalResult() != mrNone && form.CloseModal();
  }
  if (!closed) {
    form.SetModalResult(mrCancel);
    if (!form.CloseModal()) form.SetModalResult(mrCancel);
  }
  events_[index].closed_by_script = closed || !driver;
  events_[index].result = form.ModalResult();
  return form.ModalResult();
}

bool ScriptedUi::PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) {
  if (data.IsEmpty()) {
    MessageDlg(emptyText, mtError, mbOK);
    events_.back().scripted = true;  // the empty list answers itself
    return false;
  }
  Event e = MakeEvent(EventKind::PickList, title);
  std::function<bool(TClientDataSet&)> chooser;
  e.scripted = Take(pick_answers_, chooser);
  e.picked = chooser ? chooser(data) : false;
  events_.push_back(e);
  return e.picked;
}

void ScriptedUi::FindDialog(TClientDataSet& data) {
  Event e = MakeEvent(EventKind::Find, data.Name());
  std::function<void(TClientDataSet&)> finder;
  e.scripted = Take(find_answers_, finder);
  events_.push_back(e);
  if (finder) finder(data);
}

void ScriptedUi::ShowProgress(const std::string& text) {
  progress_visible_ = true;
  progress_text_ = text;
  events_.push_back(MakeEvent(EventKind::ProgressShown, text));
}

void ScriptedUi::HideProgress() {
  progress_visible_ = false;
  events_.push_back(MakeEvent(EventKind::ProgressHidden, progress_text_));
}

void ScriptedUi::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  Event e = MakeEvent(EventKind::Cursor, "");
  e.cursor = cursor;
  events_.push_back(e);
}

void ScriptedUi::ShowException(const std::string& message) { events_.push_back(MakeEvent(EventKind::Exception, message)); }

void ScriptedUi::ShowDocument(const Document& document) {
  Event e = MakeEvent(EventKind::Document, document.title);
  e.document_text = DocumentText(document);
  std::function<void(const Document&)> action;
  e.scripted = Take(document_answers_, action);
  events_.push_back(e);
  if (action) action(document);
}
