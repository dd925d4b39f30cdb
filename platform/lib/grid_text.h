#pragma once
// Reading a grid's current row the way the user sees it while typing.

#include <string>

class TDBGrid;

// The text of `fieldName` in the grid's current row, as being edited: the
// in-place editor's text when the grid is editing that field's column, else
// the field's edit text. With `forNumber` true the text is made ready for
// number conversion: thousands dots and blanks are removed and the decimal
// comma is kept ("1.234,50" -> "1234,50"). A field the dataset lacks raises.
std::string GridText(const TDBGrid& grid, const std::string& fieldName, bool forNumber);

// Index of the column showing the field (case-insensitive), or -1.
int IndiceCol(const TDBGrid& grid, const std::string& fieldName);
