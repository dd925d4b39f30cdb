// The expectations: each compares what the screen shows with what the
// script says and fails the step with both when they differ.

#include <strings.h>

#include <cstdio>
#include <optional>
#include <utility>

#include "command_table.h"
#include "data/client_dataset.h"
#include "session.h"
#include "ui/application.h"
#include "ui/check_controls.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/menu.h"

namespace dxscript {

namespace {

using Kind = ScriptedUi::EventKind;

const std::string& Word(const Command& cmd, std::size_t i) { return cmd.args.at(i + 1).text; }

void Compare(Session& s, const std::string& what, const std::string& expected, const std::string& found) {
  if (expected != found) throw StepFailure(what + ": expected " + Quote(expected) + ", found " + Quote(found));
  s.Pass();
}

bool ParseBool(const std::string& text) {
  if (text == "true") return true;
  if (text == "false") return false;
  throw StepFailure("expected true or false, not " + Quote(text));
}

void CompareBool(Session& s, const std::string& what, const std::string& expected, bool found) {
  const bool wanted = ParseBool(expected);
  if (wanted != found) throw StepFailure(what + ": expected " + expected + ", found " + (found ? "true" : "false"));
  s.Pass();
}

std::optional<TMsgDlgType> ParseType(const std::string& text) {
  if (text == "warning") return mtWarning;
  if (text == "error") return mtError;
  if (text == "information" || text == "info") return mtInformation;
  if (text == "confirmation") return mtConfirmation;
  if (text == "custom") return mtCustom;
  return std::nullopt;
}

const char* TypeText(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "warning";
    case mtError: return "error";
    case mtInformation: return "information";
    case mtConfirmation: return "confirmation";
    case mtCustom: return "custom";
  }
  return "custom";
}

void CompareType(Session& s, const std::string& expected, TMsgDlgType found) {
  const auto wanted = ParseType(expected);
  if (!wanted) throw StepFailure("message type must be warning, error, information, confirmation or custom");
  if (*wanted != found) throw StepFailure(std::string("message type: expected ") + expected + ", found " + TypeText(found));
  s.Pass();
}

std::string Texts(const std::vector<const ScriptedUi::Event*>& events) {
  std::string out;
  for (const auto* e : events) out += (out.empty() ? "" : ", ") + Quote(e->text);
  return out;
}

TClientDataSet& DataSet(Session& s, const std::string& name) {
  if (auto* data = s.CurrentForm().FindAs<TClientDataSet>(name)) return *data;
  throw StepFailure("no dataset " + name + " on " + s.CurrentForm().Name());
}

std::string ShownText(TComponent& c) {
  if (auto* edit = dynamic_cast<TCustomEdit*>(&c)) return edit->Text();
  if (auto* grid = dynamic_cast<TDBGrid*>(&c)) {
    if (grid->EditorOpen()) return grid->EditorText();
    TField* field = grid->SelectedField();
    return field ? field->DisplayText() : "";
  }
  if (auto* control = dynamic_cast<TControl*>(&c)) return control->Caption();
  if (auto* item = dynamic_cast<TMenuItem*>(&c)) return item->Caption();
  throw StepFailure(c.Name() + " shows no text");
}

}  // namespace

void ExpectMessage(Session& s, const Command& cmd) {
  const auto shown = s.Unchecked(Kind::Message);
  s.MarkChecked(Kind::Message);
  if (shown.empty()) throw StepFailure("expected the message " + Quote(Word(cmd, 0)) + ", but no message was shown");
  const std::string& expected = Word(cmd, 0);
  if (shown.back()->text != expected) {
    const std::string what = shown.size() > 1 ? "last of the messages " + Texts(shown) : std::string("message");
    throw StepFailure(what + ": expected " + Quote(expected) + ", found " + Quote(shown.back()->text));
  }
  // With type=, text and type are one expectation.
  if (const std::string* type = cmd.FindOption("type")) {
    CompareType(s, *type, shown.back()->type);
  } else {
    s.Pass();
  }
}

void ExpectMessageType(Session& s, const Command& cmd) {
  const auto* last = s.LastShown(Kind::Message);
  if (!last) throw StepFailure("expected a message of type " + Word(cmd, 0) + ", but no message was shown");
  CompareType(s, Word(cmd, 0), last->type);
}

void ExpectNoMessage(Session& s, const Command&) {
  const auto shown = s.Unchecked(Kind::Message);
  s.MarkChecked(Kind::Message);
  if (!shown.empty()) throw StepFailure("expected no message, found " + Texts(shown));
  s.Pass();
}

void ExpectException(Session& s, const Command& cmd) {
  const auto shown = s.Unchecked(Kind::Exception);
  s.MarkChecked(Kind::Exception);
  if (shown.empty()) throw StepFailure("expected the exception " + Quote(Word(cmd, 0)) + ", but none was shown");
  Compare(s, "exception", Word(cmd, 0), shown.back()->text);
}

void ExpectNoException(Session& s, const Command&) {
  const auto shown = s.Unchecked(Kind::Exception);
  s.MarkChecked(Kind::Exception);
  if (!shown.empty()) throw StepFailure("expected no exception, found " + Texts(shown));
  s.Pass();
}

void ExpectAnimation(Session& s, const Command& cmd) {
  const auto* last = s.LastShown(Kind::ProgressShown);
  if (!last) throw StepFailure("expected the animation " + Quote(Word(cmd, 0)) + ", but none was shown");
  Compare(s, "animation", Word(cmd, 0), last->text);
}

void ExpectNoAnimation(Session& s, const Command&) {
  if (s.Ui().ProgressVisible())
    throw StepFailure("the animation " + Quote(s.Ui().ProgressText()) + " is still shown");
  s.Pass();
}

void ExpectText(Session& s, const Command& cmd) {
  Compare(s, Word(cmd, 0) + " text", Word(cmd, 1), ShownText(s.Component(Word(cmd, 0))));
}

void ExpectCaption(Session& s, const Command& cmd) {
  TComponent& c = s.Component(Word(cmd, 0));
  std::string caption;
  if (auto* control = dynamic_cast<TControl*>(&c)) {
    caption = control->Caption();
  } else if (auto* item = dynamic_cast<TMenuItem*>(&c)) {
    caption = item->Caption();
  } else {
    throw StepFailure(c.Name() + " has no caption");
  }
  Compare(s, Word(cmd, 0) + " caption", Word(cmd, 1), caption);
}

void ExpectEnabled(Session& s, const Command& cmd) {
  TComponent& c = s.Component(Word(cmd, 0));
  bool enabled;
  if (auto* control = dynamic_cast<TControl*>(&c)) {
    enabled = control->Enabled();
  } else if (auto* item = dynamic_cast<TMenuItem*>(&c)) {
    enabled = item->Enabled();
  } else {
    throw StepFailure(c.Name() + " has no enabled state");
  }
  CompareBool(s, Word(cmd, 0) + " enabled", Word(cmd, 1), enabled);
}

void ExpectVisible(Session& s, const Command& cmd) {
  TComponent& c = s.Component(Word(cmd, 0));
  bool visible;
  if (auto* control = dynamic_cast<TControl*>(&c)) {
    visible = control->Visible();
  } else if (auto* item = dynamic_cast<TMenuItem*>(&c)) {
    visible = item->Visible();
  } else {
    throw StepFailure(c.Name() + " has no visible state");
  }
  CompareBool(s, Word(cmd, 0) + " visible", Word(cmd, 1), visible);
}

void ExpectReadOnly(Session& s, const Command& cmd) {
  TComponent& c = s.Component(Word(cmd, 0));
  bool read_only;
  if (auto* edit = dynamic_cast<TCustomEdit*>(&c)) {
    read_only = edit->ReadOnly();
  } else if (auto* grid = dynamic_cast<TDBGrid*>(&c)) {
    read_only = grid->ReadOnly();
  } else {
    throw StepFailure(c.Name() + " has no read-only state");
  }
  CompareBool(s, Word(cmd, 0) + " read-only", Word(cmd, 1), read_only);
}

void ExpectChecked(Session& s, const Command& cmd) {
  TComponent& c = s.Component(Word(cmd, 0));
  bool checked;
  if (auto* radio = dynamic_cast<TRadioButton*>(&c)) {
    checked = radio->Checked();
  } else if (auto* box = dynamic_cast<TCheckBox*>(&c)) {
    checked = box->Checked();
  } else if (auto* item = dynamic_cast<TMenuItem*>(&c)) {
    checked = item->Checked();
  } else {
    throw StepFailure(c.Name() + " cannot be checked");
  }
  CompareBool(s, Word(cmd, 0) + " checked", Word(cmd, 1), checked);
}

void ExpectFocus(Session& s, const Command& cmd) {
  TWinControl* focused = s.CurrentForm().ActiveControl();
  const std::string found = focused ? focused->Name() : "";
  if (strcasecmp(found.c_str(), Word(cmd, 0).c_str()) != 0)
    throw StepFailure("focus: expected " + Word(cmd, 0) + ", found " + (focused ? found : "nothing"));
  s.Pass();
}

void ExpectActiveForm(Session& s, const Command& cmd) {
  TForm* active = Application().ActiveForm();
  const std::string found = active ? active->Name() : "";
  if (strcasecmp(found.c_str(), Word(cmd, 0).c_str()) != 0)
    throw StepFailure("active form: expected " + Word(cmd, 0) + ", found " + (active ? found : "none"));
  s.Pass();
}

void ExpectRows(Session& s, const Command& cmd) {
  TClientDataSet& data = DataSet(s, Word(cmd, 0));
  Compare(s, Word(cmd, 0) + " rows", Word(cmd, 1), std::to_string(data.RecordCount()));
}

void ExpectField(Session& s, const Command& cmd) {
  TClientDataSet& data = DataSet(s, Word(cmd, 0));
  TField* field = data.FindField(Word(cmd, 1));
  if (!field) throw StepFailure(Word(cmd, 0) + " has no field " + Word(cmd, 1));
  if (data.IsEmpty()) throw StepFailure(Word(cmd, 0) + " has no current record (it is empty)");
  Compare(s, Word(cmd, 0) + "." + Word(cmd, 1), Word(cmd, 2), field->DisplayText());
}

namespace {

struct NamedColour {
  const char* name;
  TColor colour;
};

constexpr NamedColour kColours[] = {
    {"black", clBlack},   {"maroon", clMaroon},     {"green", clGreen},         {"olive", clOlive},
    {"navy", clNavy},     {"purple", clPurple},     {"teal", clTeal},           {"gray", clGray},
    {"silver", clSilver}, {"red", clRed},           {"lime", clLime},           {"yellow", clYellow},
    {"blue", clBlue},     {"fuchsia", clFuchsia},   {"aqua", clAqua},           {"white", clWhite},
    {"window", clWindow}, {"windowtext", clWindowText}, {"highlight", clHighlight},
    {"highlighttext", clHighlightText}, {"infobk", clInfoBk}, {"infotext", clInfoText},
};

std::string ColourName(TColor colour) {
  for (const NamedColour& c : kColours)
    if (c.colour == colour) return c.name;
  char hex[16];
  std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(colour) & 0xFFFFFFu);
  return hex;
}

// A colour as the script names it: "red", "clRed" or "#0000FF" (the
// platform's BGR value).
TColor ParseColour(const std::string& text) {
  std::string name = text;
  if (name.size() > 2 && strncasecmp(name.c_str(), "cl", 2) == 0) name = name.substr(2);
  for (const NamedColour& c : kColours)
    if (strcasecmp(c.name, name.c_str()) == 0) return c.colour;
  if (!name.empty() && name[0] == '#') {
    try {
      return static_cast<TColor>(std::stoul(name.substr(1), nullptr, 16));
    } catch (const std::exception&) {
    }
  }
  throw StepFailure("unknown colour " + Quote(text));
}

// The 1-based row and the column of a cell named by row=N col=FIELD.
std::pair<int, int> CellOf(TDBGrid& grid, const Command& cmd) {
  const std::string* row_text = cmd.FindOption("row");
  const std::string* col_text = cmd.FindOption("col");
  if (!row_text || !col_text) throw StepFailure("a cell needs row=N and col=FIELD");
  int row = 0;
  try {
    row = std::stoi(*row_text);
  } catch (const std::exception&) {
  }
  if (row < 1 || row > grid.RowCount())
    throw StepFailure(grid.Name() + " has no row " + *row_text + " (it has " + std::to_string(grid.RowCount()) + ")");
  const int col = grid.ColumnIndexOf(*col_text);
  if (col < 0) throw StepFailure(grid.Name() + " has no column for the field " + *col_text);
  return {row, col};
}

}  // namespace

// The cell as drawn: its font colour, boldness and background, after the
// grid's draw handler (a selected cell draws in the highlight colours).
void ExpectStyle(Session& s, const Command& cmd) {
  auto& grid = s.ComponentAs<TDBGrid>(Word(cmd, 0), "a grid");
  const auto [row, col] = CellOf(grid, cmd);
  const TCellStyle style = grid.CellStyle(row, col);
  const std::string where = grid.Name() + " row " + std::to_string(row) + " " + *cmd.FindOption("col");
  bool checked = false;
  if (const std::string* colour = cmd.FindOption("colour")) {
    if (ParseColour(*colour) != style.font_color)
      throw StepFailure(where + " colour: expected " + *colour + ", found " + ColourName(style.font_color));
    checked = true;
  }
  if (const std::string* background = cmd.FindOption("background")) {
    if (ParseColour(*background) != style.background)
      throw StepFailure(where + " background: expected " + *background + ", found " + ColourName(style.background));
    checked = true;
  }
  if (const std::string* bold = cmd.FindOption("bold")) {
    if (ParseBool(*bold) != style.bold)
      throw StepFailure(where + " bold: expected " + *bold + ", found " + (style.bold ? "true" : "false"));
    checked = true;
  }
  if (!checked) throw StepFailure("expect style needs colour=, background= or bold=");
  s.Pass();
}

void ExpectCell(Session& s, const Command& cmd) {
  auto& grid = s.ComponentAs<TDBGrid>(Word(cmd, 0), "a grid");
  const std::string* row_text = cmd.FindOption("row");
  const std::string* col_text = cmd.FindOption("col");
  if (!row_text || !col_text) throw StepFailure("expect cell needs row=N and col=FIELD");
  int row = 0;
  try {
    row = std::stoi(*row_text);
  } catch (const std::exception&) {
  }
  if (row < 1 || row > grid.RowCount())
    throw StepFailure(grid.Name() + " has no row " + *row_text + " (it has " + std::to_string(grid.RowCount()) + ")");
  const int col = grid.ColumnIndexOf(*col_text);
  if (col < 0) throw StepFailure(grid.Name() + " has no column for the field " + *col_text);
  Compare(s, grid.Name() + " row " + *row_text + " " + *col_text, Word(cmd, 1), grid.CellStyle(row, col).text);
}

}  // namespace dxscript
