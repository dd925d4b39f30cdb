#pragma once
// A UI service without a screen, for tests and the headless script runner.
// Answers are queued per kind of dialog and used in order; everything shown
// is recorded in order.
//
// A dialog that arrives with no answer queued is answered with a default and
// its record is marked `scripted == false`:
//   message dialog -> the least committal of its buttons: OK, else Cancel,
//                     else No, else Yes;
//   modal form     -> closed as by its close box (ModalResult mrCancel);
//   pick list      -> nothing picked (false);
//   find dialog    -> nothing found;
//   document       -> the preview closed without printing or saving.
// A modal driver that returns without setting the form's ModalResult gets
// the same treatment as a missing one, and the record says so
// (`closed_by_script == false`).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/ui_service.h"

class ScriptedUi : public UiService {
 public:
  enum class EventKind { Message, Modal, PickList, Find, Exception, ProgressShown, ProgressHidden, Cursor, Document };

  struct Event {
    EventKind kind;
    std::string text;  // message text, form caption, pick-list title, exception, progress text or document title
    TMsgDlgType type = mtCustom;
    TMsgDlgButtons buttons;
    TModalResult result = mrNone;
    bool scripted = true;          // an answer was queued for it
    bool picked = false;           // pick list: a row was chosen
    bool closed_by_script = true;  // modal form: the driver set its ModalResult
    TCursor cursor = crDefault;
    std::string form_name;         // modal form: its component name
    bool over_progress = false;    // message or modal form: the progress animation was on view
    std::string document_text;     // document: what its pages read (DocumentText)
  };

  // --- answers ---
  void AnswerMessage(TModalResult result);
  // The driver works the form like a user (types, clicks) and ends by
  // setting its ModalResult, directly or through a button.
  void DriveModal(std::function<void(TForm&)> driver);
  // The chooser moves the dataset to the row it wants and returns true, or
  // returns false for a list left without picking.
  void AnswerPick(std::function<bool(TClientDataSet&)> chooser);
  void AnswerPickRow(int recNo);  // 1-based
  void DeclinePick();
  void AnswerFind(std::function<void(TClientDataSet&)> finder);
  // What the user does in the next document preview (print, save as PDF).
  void AnswerDocument(std::function<void(const Document&)> action);
  std::size_t PendingAnswers() const;

  // --- record ---
  const std::vector<Event>& Events() const { return events_; }
  std::vector<Event> EventsOf(EventKind kind) const;
  std::vector<std::string> Messages() const;
  std::vector<std::string> Exceptions() const;
  // The messages and modal forms shown while the progress animation was on view.
  std::vector<std::string> ShownOverProgress() const;
  bool AnyUnexpected() const;
  bool ProgressVisible() const { return progress_visible_; }
  const std::string& ProgressText() const { return progress_text_; }
  TCursor Cursor() const { return cursor_; }
  // Forgets the record and the answers still queued.
  void Clear();

  // --- UiService ---
  TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
  TModalResult ShowModal(TForm& form) override;
  bool PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) override;
  void FindDialog(TClientDataSet& data) override;
  void ShowProgress(const std::string& text) override;
  void HideProgress() override;
  void SetCursor(TCursor cursor) override;
  void ShowException(const std::string& message) override;
  void ShowDocument(const Document& document) override;

 private:
  std::deque<TModalResult> message_answers_;
  std::deque<std::function<void(TForm&)>> modal_drivers_;
  std::deque<std::function<bool(TClientDataSet&)>> pick_answers_;
  std::deque<std::function<void(TClientDataSet&)>> find_answers_;
  std::deque<std::function<void(const Document&)>> document_answers_;
  std::vector<Event> events_;
  bool progress_visible_ = false;
  std::string progress_text_;
  TCursor cursor_ = crDefault;
};
