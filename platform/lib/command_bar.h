#pragma once
// Tool-bar commands: a flat button on the bar and its entry in a menu,
// kept in step. The entry's click runs the button's click, and the entry's
// enabled state follows the button's, so code that switches a command on or
// off touches the button alone.

#include <string>

#include "ui/shortcut.h"

class TComponent;
class TControl;
class TWinControl;
class TMenuItem;
class TButtonFlat;

struct CommandSpec {
  const char* button;   // component name of the button, "sbtIncluir"
  const char* hint;     // the button's hint
  const char* glyph;    // two-image glyph resource
  const char* menu;     // component name of the menu entry, "mnuIncluir"
  const char* caption;  // the entry's caption, "&Incluir"
  TShortCut shortcut;
};

// Creates the button on `bar`, right after the buttons already there, and
// its entry at the end of `menu`; both are owned by `owner`.
TButtonFlat& AddCommand(TComponent& owner, TWinControl& bar, TMenuItem& menu, const CommandSpec& spec);

// A flat button on `bar`, right after the buttons already there, with no
// menu entry.
TButtonFlat& AddToolButton(TComponent& owner, TWinControl& bar, const char* name, const char* hint, const char* glyph);

// A menu entry owned by `owner`, added at the end of `parent`; "-" makes a
// separator.
TMenuItem& AddMenuItem(TComponent& owner, TMenuItem& parent, const char* name, const char* caption,
                       TShortCut shortcut = scNone);

// Pairs a button made elsewhere with its menu entry, as AddCommand does.
void PairCommand(TControl& button, TMenuItem& item);
