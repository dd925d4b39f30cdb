#pragma once
// Applies the main screen's constant tables to the toolkit: a dataset's
// declared fields, a grid's columns and options, and a drawing rule's style
// to the grid's cell style.

#include "data/client_dataset.h"
#include "ui/db_grid.h"
#include "ui/ui_types.h"
#include "workspace/cell_styles.h"
#include "workspace/field_tables.h"

namespace workspace {

// Declares every field of `def` on the closed dataset, with its label,
// visibility, formats, read-only flag and edit mask.
void DeclareFields(TClientDataSet& data, const DatasetDef& def);

// Gives the grid the columns of `def` in order, with their widths, titles and
// read-only flags, the background colour and (when the grid owns them) the
// options.
void ApplyGrid(TDBGrid& grid, const GridDef& def);

// The toolkit colour of a drawing colour; the system colours the rules use
// (tool-tip background, window text, highlight) stay system colours, so the
// renderer resolves them to the theme.
TColor ToColor(Rgb colour);

// Writes a drawing rule's style over the grid's default style of the cell,
// keeping the text the grid computed from the field.
void ApplyCellStyle(const CellStyle& rule, TCellStyle& cell);

}  // namespace workspace
