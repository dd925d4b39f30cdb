#include "dialogs/value_cells.h"

#include "data/field.h"
#include "data/formats.h"

namespace dialogs {

void StyleValueCell(TCellStyle& style, const TField* field, const std::string& numberFormat, TGridDrawState state) {
  if (!numberFormat.empty()) {
    style.text = FormatFloat(numberFormat, field ? field->AsFloat() : 0.0);
    style.alignment = taRightJustify;
    style.offset_x = 3;
    style.offset_y = 3;
  } else {
    style.text = field ? field->Text() : std::string();
    style.alignment = taLeftJustify;
    style.offset_x = 2;
    style.offset_y = 2;
  }
  style.focus_rect = (state & gdFocused) != 0;
}

}  // namespace dialogs
