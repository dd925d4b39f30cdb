#include "workspace/dataset_binding.h"

#include <string>

namespace workspace {

namespace {

::FieldType ToDataType(FieldType type) {
  switch (type) {
    case FieldType::Text: return ::FieldType::String;
    case FieldType::FixedText: return ::FieldType::FixedString;
    case FieldType::Float: return ::FieldType::Float;
    case FieldType::DateTime: return ::FieldType::DateTime;
    case FieldType::Integer: return ::FieldType::Integer;
  }
  return ::FieldType::String;
}

TGridOptions ToGridOptions(const GridOptions& o) {
  TGridOptions out = 0;
  if (o.titles) out |= dgTitles;
  if (o.columnResize) out |= dgColumnResize;
  if (o.columnLines) out |= dgColLines;
  if (o.rowLines) out |= dgRowLines;
  if (o.tabs) out |= dgTabs;
  if (o.confirmDelete) out |= dgConfirmDelete;
  if (o.cancelOnExit) out |= dgCancelOnExit;
  if (o.editing) out |= dgEditing;
  return out;
}

}  // namespace

void DeclareFields(TClientDataSet& data, const DatasetDef& def) {
  for (const FieldDef& f : def.fields) {
    TField& field = data.AddField(std::string(f.name), ToDataType(f.type), f.size);
    if (!f.label.empty()) field.SetDisplayLabel(std::string(f.label));
    field.SetVisible(f.visible);
    field.SetReadOnly(f.readOnly);
    if (!f.displayFormat.empty()) field.SetDisplayFormat(std::string(f.displayFormat));
    if (!f.editFormat.empty()) field.SetEditFormat(std::string(f.editFormat));
    if (!f.editMask.empty()) field.SetEditMask(std::string(f.editMask));
  }
}

void ApplyGrid(TDBGrid& grid, const GridDef& def) {
  grid.ClearColumns();
  for (const ColumnDef& c : def.columns) {
    TColumn& column = grid.AddColumn(std::string(c.field));
    if (c.width > 0) column.SetWidth(c.width);
    if (!c.title.empty()) column.SetTitleCaption(std::string(c.title));
    column.SetReadOnly(c.readOnly);
  }
  grid.SetColor(ToColor(def.background));
  if (def.ownOptions) grid.SetOptions(ToGridOptions(def.options));
}

TColor ToColor(Rgb colour) {
  switch (colour) {
    case kInfoBk: return clInfoBk;
    case kWindowText: return clWindowText;
    case kHighlight: return clHighlight;
    case kHighlightText: return clHighlightText;
    case kBtnFace: return clBtnFace;
    default: break;
  }
  const int r = static_cast<int>((colour >> 16) & 0xFF);
  const int g = static_cast<int>((colour >> 8) & 0xFF);
  const int b = static_cast<int>(colour & 0xFF);
  return RGB(r, g, b);
}

void ApplyCellStyle(const CellStyle& rule, TCellStyle& cell) {
  cell.background = ToColor(rule.background);
  cell.font_color = ToColor(rule.font);
  cell.bold = rule.bold;
  // A rule only asks for the right edge; otherwise the column's alignment
  // stands (numbers to the right).
  if (rule.rightAligned) cell.alignment = taRightJustify;
  cell.offset_x = rule.offsetX;
  cell.offset_y = rule.offsetY;
  cell.focus_rect = rule.focusRect;
}

}  // namespace workspace
