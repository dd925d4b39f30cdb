#pragma once
// A form: a top-level window that owns its components, keeps its own focus
// and runs the window lifecycle (create, show, activate, close, destroy).
//
// Closing: Close() asks OnCloseQuery, then runs OnClose with the default
// action (caMinimize for an MDI child, caHide otherwise) and carries out the
// action the handler left. On a modal form Close() only sets ModalResult to
// mrCancel; setting any ModalResult ends the modal run, which then runs
// CloseModal() (OnCloseQuery and OnClose, default caHide; caNone keeps the
// form open and clears ModalResult).

#include <functional>

#include "ui/control.h"
#include "ui/focus.h"

class TMainMenu;

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  FocusManager& Focus() { return focus_; }
  TWinControl* ActiveControl() const { return focus_.Focused(); }
  // Moves the focus (with its enter and exit handlers) to the control.
  void SetActiveControl(TWinControl* control) { focus_.SetFocus(control); }
  bool SelectNext(bool forward = true) { return focus_.SelectNext(forward); }

  TFormStyle FormStyle() const { return form_style_; }
  void SetFormStyle(TFormStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);
  TWindowState WindowState() const { return window_state_; }
  void SetWindowState(TWindowState state);
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult result);
  bool Modal() const { return modal_; }
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Runs OnCreate, once; call it when the constructor has built the form
  // (TApplication::CreateForm does).
  void DoCreate();
  // Runs OnDestroy, once; part of the form's teardown (see TComponent).
  void DoDestroy();

  // Show() (SetVisible(true)) runs OnShow, makes the form the active form
  // and gives the focus to the first tab stop when nothing has it yet.
  void SetVisible(bool visible) override;
  // Runs the form modally through the UI service and returns its ModalResult.
  TModalResult ShowModal();
  void Close();
  // The end of a modal run: true when the form may close with its
  // ModalResult, false when OnCloseQuery or OnClose kept it open.
  bool CloseModal();
  // Hides the form and hands it to the application to be destroyed once the
  // running event is over.
  void Release();
  // Makes this the application's active form, running OnDeactivate of the
  // one that was and OnActivate of this one; nothing when already active.
  void Activate();

  // --- user events (exceptions go to the exception display) ---
  void UserClose();
  void UserActivate();
  // A key combination pressed anywhere on the form: runs the menu item with
  // that shortcut; true when one ran.
  bool UserShortCut(int key, TShiftState shift);
  // Tab or Shift+Tab.
  void UserTab(bool forward = true);

  bool AcceptsFocus() const override { return false; }

 protected:
  // OnDestroy, then the form leaves the application's list.
  void BeforeDestruction() override;

 public:
  // Told by the focus manager.
  void FocusMoved() { Changed("ActiveControl"); }

 private:
  void FocusFirst();

  FocusManager focus_{*this};
  TFormStyle form_style_ = fsNormal;
  TPosition position_ = poDesigned;
  TWindowState window_state_ = wsNormal;
  TModalResult modal_result_ = mrNone;
  bool modal_ = false;
  bool created_ = false;
  bool destroyed_ = false;
  TMainMenu* menu_ = nullptr;
};
