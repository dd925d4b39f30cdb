#pragma once
// How the value dialogs draw a cell of their values grids: amounts formatted
// and right-aligned 3 pixels in from the right and 3 down, any other column
// as its edit text 2 pixels in from the left and 2 down, and the focus
// rectangle on the focused cell.

#include <string>

#include "ui/db_grid.h"

namespace dialogs {

// `numberFormat` empty: the field's edit text, left-aligned.
void StyleValueCell(TCellStyle& style, const TField* field, const std::string& numberFormat, TGridDrawState state);

}  // namespace dialogs
