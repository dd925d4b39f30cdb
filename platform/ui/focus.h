#pragma once
// The focus of one form. Moving it runs the exit handler of the control left
// and of every container left (innermost first), then the enter handler of
// every container entered (outermost first) and of the control.
//
// An exception from an exit handler cancels the move: the focus stays where
// it was, or where the handler put it by moving the focus itself, and the
// exception reaches whoever asked for the move. A move asked for from inside
// a handler supersedes the one in progress.

#include <vector>

class TControl;
class TWinControl;
class TForm;

class FocusManager {
 public:
  explicit FocusManager(TForm& form) : form_(form) {}

  TWinControl* Focused() const { return focused_; }
  // Moves the focus to `target`; a control that cannot take the focus
  // (hidden, disabled, or not a focusable kind) leaves it where it is.
  void SetFocus(TWinControl* target);
  // Moves the focus to the next (or previous) tab stop after the focused
  // control, wrapping around; false when there is none.
  bool SelectNext(bool forward = true);
  // The focusable tab stops in tab order.
  std::vector<TWinControl*> TabStops() const;
  // A control is going away or leaving the form: drop every reference to it.
  void Forget(const TControl* control);

 private:
  std::vector<TWinControl*> ChainFrom(TWinControl* control) const;
  void CollectTabStops(TWinControl* container, std::vector<TWinControl*>& out) const;

  TForm& form_;
  TWinControl* focused_ = nullptr;
  // The innermost control whose exit handler has not run yet during a move.
  TWinControl* exit_point_ = nullptr;
  unsigned generation_ = 0;
  int moving_ = 0;
};
