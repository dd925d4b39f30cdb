#pragma once
// Everything that needs a person at the screen goes through one service:
// message dialogs, modal forms, the pick list, the find dialog, the progress
// animation, the cursor and the exception display. The Qt renderer
// implements it with windows; ScriptedUi answers from a script.

#include <string>

#include "ui/ui_types.h"

class TForm;
struct Document;
class TClientDataSet;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };

// A set of dialog buttons.
struct TMsgDlgButtons {
  unsigned bits = 0;
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(TMsgDlgBtn b) : bits(1u << b) {}
  constexpr bool Has(TMsgDlgBtn b) const { return (bits & (1u << b)) != 0; }
  friend constexpr TMsgDlgButtons operator|(TMsgDlgButtons a, TMsgDlgButtons b) {
    TMsgDlgButtons r;
    r.bits = a.bits | b.bits;
    return r;
  }
  friend constexpr bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;
};
constexpr TMsgDlgButtons operator|(TMsgDlgBtn a, TMsgDlgBtn b) { return TMsgDlgButtons(a) | TMsgDlgButtons(b); }
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

class UiService {
 public:
  virtual ~UiService() = default;

  // Shows the text with the type's icon and the buttons; returns the modal
  // result of the button pressed (mrYes, mrNo, mrOk, mrCancel, ...).
  virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
  // Runs the form modally: returns once the form's ModalResult is set and
  // its CloseModal() accepted it (see TForm::ShowModal).
  virtual TModalResult ShowModal(TForm& form) = 0;
  // Offers the dataset's rows; true when the user picked one, which is then
  // the current record. An empty dataset shows `emptyText` and returns false.
  virtual bool PickList(TClientDataSet& data, const std::string& title, const std::string& emptyText) = 0;
  // The find dialog over a dataset: a found row becomes the current record.
  virtual void FindDialog(TClientDataSet& data) = 0;
  virtual void ShowProgress(const std::string& text) = 0;
  virtual void HideProgress() = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  // Shows the message of an exception that left an event handler.
  virtual void ShowException(const std::string& message) = 0;
  // Previews a document the module laid out; from the preview the user
  // prints it or saves it as PDF. Returns when the preview is closed.
  virtual void ShowDocument(const Document& document) = 0;
};

// The current service. Until one is set, a process-wide ScriptedUi with no
// answers serves (it records everything and answers with the defaults).
UiService& Ui();
// Installs a service (not owned); null goes back to the default.
void SetUi(UiService* service);

// Shortcuts for the common calls.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const std::string& text);
