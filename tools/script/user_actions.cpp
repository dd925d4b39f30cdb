// What a user does with the controls: typing, moving the focus, clicking,
// keys, menus and grid cells. Everything goes through the toolkit's user
// entry points, so handlers run as they would at the screen and their
// exceptions reach the exception display. A step the user could not take
// (a disabled control, a refused focus) fails.

#include "command_table.h"
#include "key_names.h"
#include "session.h"
#include "ui/buttons.h"
#include "ui/check_controls.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/run_handler.h"
#include "ui/utf8.h"

namespace dxscript {

namespace {

std::string FocusedName(TForm& form) {
  TWinControl* focused = form.ActiveControl();
  return focused ? focused->Name() : "nothing";
}

void RequireUsable(const TControl& control) {
  if (!control.Showing()) throw StepFailure(control.Name() + " is not visible");
  if (!control.EffectivelyEnabled()) throw StepFailure(control.Name() + " is disabled");
}

// Moves the focus to the control as the user does; the step fails when an
// exit handler kept it elsewhere.
void FocusForUser(Session& s, TWinControl& control) {
  RequireUsable(control);
  if (control.Focused()) return;
  if (!control.CanFocus()) throw StepFailure(control.Name() + " cannot take the focus");
  control.UserSetFocus();
  if (!control.Focused())
    throw StepFailure("the focus did not reach " + control.Name() + ": it stayed on " + FocusedName(s.CurrentForm()));
}

int ParseNumber(const std::string& text, const std::string& what) {
  try {
    std::size_t used = 0;
    int n = std::stoi(text, &used);
    if (used == text.size()) return n;
  } catch (const std::exception&) {
  }
  throw StepFailure(what + " must be a number, not " + Quote(text));
}

void RunMenuItem(TMenuItem& item, bool forced) {
  if (!forced && !item.EffectivelyEnabled()) throw StepFailure(item.Name() + " is disabled");
  if (forced) {
    RunHandler([&] { item.Click(); });
  } else {
    item.UserClick();
  }
}

}  // namespace

void RunType(Session& s, const Command& cmd) {
  TComponent& target = s.Component(cmd.args[0].text);
  const std::string& text = cmd.args[1].text;
  if (auto* grid = dynamic_cast<TDBGrid*>(&target)) {
    FocusForUser(s, *grid);
    if (!grid->CanEditCell()) throw StepFailure("the selected cell of " + grid->Name() + " cannot be edited");
    grid->UserSetCellText(text);
    return;
  }
  auto* edit = dynamic_cast<TCustomEdit*>(&target);
  if (!edit) throw StepFailure(target.Name() + " is not an edit");
  FocusForUser(s, *edit);
  if (edit->ReadOnly()) throw StepFailure(edit->Name() + " is read-only");
  edit->UserSetText(text);
}

void RunKeys(Session& s, const Command& cmd) {
  TComponent& target = s.Component(cmd.args[0].text);
  if (auto* grid = dynamic_cast<TDBGrid*>(&target)) {
    // Into the selected cell, one key at a time: the grid's key filter sees
    // each, and what it lets through opens the cell's editor.
    FocusForUser(s, *grid);
    for (char32_t key : ui::Utf8Decode(cmd.args[1].text)) grid->UserKeyPress(key);
    return;
  }
  auto& edit = s.ComponentAs<TCustomEdit>(cmd.args[0].text, "an edit");
  FocusForUser(s, edit);
  if (edit.ReadOnly()) throw StepFailure(edit.Name() + " is read-only");
  edit.UserType(cmd.args[1].text);
}

void RunFocus(Session& s, const Command& cmd) {
  auto& control = s.ComponentAs<TWinControl>(cmd.args[0].text, "a control that takes the focus");
  RequireUsable(control);
  if (!control.CanFocus()) throw StepFailure(control.Name() + " cannot take the focus");
  // A refused move is not a failure of the step: the scenario checks where
  // the focus went with `expect focus`.
  control.UserSetFocus();
  if (!control.Focused()) s.Printer().Note("  focus stayed on " + FocusedName(s.CurrentForm()));
}

void RunClick(Session& s, const Command& cmd) {
  const bool forced = cmd.verb == "click!";
  TComponent& target = s.Component(cmd.args[0].text);
  if (auto* item = dynamic_cast<TMenuItem*>(&target)) return RunMenuItem(*item, forced);
  auto* control = dynamic_cast<TControl*>(&target);
  if (!control) throw StepFailure(target.Name() + " cannot be clicked");
  if (forced) {
    // As a click made by code: the handler runs whatever the enabled state.
    RunHandler([&] { control->Click(); });
    return;
  }
  RequireUsable(*control);
  control->UserClick();
}

void RunCheck(Session& s, const Command& cmd) {
  TComponent& target = s.Component(cmd.args[0].text);
  if (auto* radio = dynamic_cast<TRadioButton*>(&target)) {
    RequireUsable(*radio);
    radio->UserClick();
    if (!radio->Checked()) throw StepFailure(radio->Name() + " did not become checked");
    return;
  }
  auto* box = dynamic_cast<TCheckBox*>(&target);
  if (!box) throw StepFailure(target.Name() + " is not a radio button or check box");
  RequireUsable(*box);
  if (!box->Checked()) box->UserClick();
}

void RunUncheck(Session& s, const Command& cmd) {
  auto& box = s.ComponentAs<TCheckBox>(cmd.args[0].text, "a check box");
  RequireUsable(box);
  if (box.Checked()) box.UserClick();
}

void RunKey(Session& s, const Command& cmd) {
  const std::string& name = cmd.args.back().text;
  const auto stroke = ParseKeyName(name);
  if (!stroke) throw StepFailure("unknown key " + Quote(name));
  TForm& form = s.CurrentForm();
  TWinControl* control = form.ActiveControl();
  if (cmd.args.size() == 2) {
    control = &s.ComponentAs<TWinControl>(cmd.args[0].text, "a control that takes keys");
    FocusForUser(s, *control);
  }
  // As the platform does: the form's menu shortcuts come before the control.
  if (form.UserShortCut(stroke->key, stroke->shift)) return;
  if (stroke->key == VK_TAB) {
    form.UserTab((stroke->shift & ssShift) == 0);
    return;
  }
  if (!control) throw StepFailure("no control has the focus to take the key");
  const int left = control->UserKeyDown(stroke->key, stroke->shift);
  if (left != 0) {
    if (char32_t ch = TypedCharacter(*stroke)) control->UserKeyPress(ch);
  }
  control->UserKeyUp(stroke->key, stroke->shift);
}

void RunMenu(Session& s, const Command& cmd) {
  RunMenuItem(s.ComponentAs<TMenuItem>(cmd.args[0].text, "a menu item"), cmd.verb == "menu!");
}

void RunSelect(Session& s, const Command& cmd) {
  auto& grid = s.ComponentAs<TDBGrid>(cmd.args[0].text, "a grid");
  RequireUsable(grid);
  if (!cmd.FindOption("row") && !cmd.FindOption("col")) throw StepFailure("select needs row=N and/or col=FIELD");
  int row = grid.CurrentRow();
  int col = grid.SelectedIndex();
  if (const std::string* r = cmd.FindOption("row")) {
    row = ParseNumber(*r, "row");
    if (row < 1 || row > grid.RowCount())
      throw StepFailure(grid.Name() + " has no row " + *r + " (it has " + std::to_string(grid.RowCount()) + ")");
  }
  if (const std::string* c = cmd.FindOption("col")) {
    col = grid.ColumnIndexOf(*c);
    if (col < 0) throw StepFailure(grid.Name() + " has no column for the field " + *c);
  }
  grid.UserSelectCell(row, col);
  if (!grid.Focused()) throw StepFailure("the focus did not reach " + grid.Name() + ": it stayed on " + FocusedName(s.CurrentForm()));
}

void RunTitle(Session& s, const Command& cmd) {
  auto& grid = s.ComponentAs<TDBGrid>(cmd.args[0].text, "a grid");
  RequireUsable(grid);
  const int col = grid.ColumnIndexOf(cmd.args[1].text);
  if (col < 0) throw StepFailure(grid.Name() + " has no column for the field " + cmd.args[1].text);
  grid.UserTitleClick(col);
}

void RunEditButton(Session& s, const Command& cmd) {
  auto& grid = s.ComponentAs<TDBGrid>(cmd.args[0].text, "a grid");
  RequireUsable(grid);
  TColumn* column = grid.SelectedColumn();
  if (!column || column->ButtonStyle() != cbsEllipsis)
    throw StepFailure("the selected column of " + grid.Name() + " has no edit button");
  grid.UserEditButtonClick();
}

}  // namespace dxscript
