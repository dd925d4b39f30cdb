#include "ui/db_grid.h"

#include <algorithm>
#include <cctype>

#include "ui/run_handler.h"
#include "ui/utf8.h"
#include "ui/ui_service.h"

namespace {

TTextWidthMeasure& Measure() {
  static TTextWidthMeasure measure;
  return measure;
}

}  // namespace

void SetTextWidthMeasure(TTextWidthMeasure measure) { Measure() = std::move(measure); }

int TextWidth(const TFont& font, const std::string& text) {
  if (Measure()) return Measure()(font, text);
  // About the average width of a digit in the font, a little more in bold.
  const int perChar = std::max(1, (font.size * 3 + 2) / 4 + (font.bold ? 1 : 0));
  return static_cast<int>(ui::Utf8Decode(text).size()) * perChar;
}

// --- TColumn ---

int TColumn::Index() const { return grid_.ColumnIndexOf(field_name_); }

void TColumn::Changed() { grid_.ColumnsChanged(); }

void TColumn::SetFieldName(std::string name) {
  field_name_ = std::move(name);
  Changed();
}

TField* TColumn::Field() const {
  TClientDataSet* data = grid_.DataSet();
  return data && !field_name_.empty() ? data->FindField(field_name_) : nullptr;
}

std::string TColumn::TitleCaption() const {
  if (title_set_) return title_;
  if (TField* field = Field()) return field->DisplayLabel();
  return field_name_;
}

void TColumn::SetTitleCaption(std::string caption) {
  title_ = std::move(caption);
  title_set_ = true;
  Changed();
}

void TColumn::SetWidth(int width) {
  width_ = width;
  width_set_ = true;
  Changed();
}

int TColumn::DefaultWidth() const {
  TField* field = Field();
  if (!field) return width_;
  // The cell's text offset on either side; titles get a wider margin, as
  // header cells draw theirs.
  constexpr int kPadding = 4;
  constexpr int kTitlePadding = 10;
  int width = field->DisplayWidth() * TextWidth(grid_.Font(), "0") + kPadding;
  if (grid_.HasOption(dgTitles)) width = std::max(width, TextWidth(grid_.TitleFont(), TitleCaption()) + kTitlePadding);
  return width;
}

void TColumn::SetReadOnly(bool v) {
  read_only_ = v;
  Changed();
}

void TColumn::SetButtonStyle(TColumnButtonStyle style) {
  button_style_ = style;
  Changed();
}

void TColumn::SetVisible(bool v) {
  visible_ = v;
  Changed();
}

TColor TColumn::Color() const { return color_set_ ? color_ : grid_.Color(); }

void TColumn::SetColor(TColor color) {
  color_ = color;
  color_set_ = true;
  Changed();
}

TAlignment TColumn::Alignment() const {
  if (alignment_set_) return alignment_;
  TField* field = Field();
  return field ? field->Alignment() : taLeftJustify;
}

void TColumn::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignment_set_ = true;
  Changed();
}

// --- TDBGrid ---

TDBGrid::TDBGrid() : link_([this](TDataLink::Notice notice, TField*) { DataNotice(notice); }) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
  title_font_ = Font();
}

TColumn& TDBGrid::AddColumn(const std::string& fieldName) {
  columns_.push_back(std::make_unique<TColumn>(*this));
  columns_.back()->SetFieldName(fieldName);
  return *columns_.back();
}

int TDBGrid::ColumnIndexOf(const std::string& fieldName) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const std::string& name = columns_[i]->FieldName();
    if (name.size() == fieldName.size() &&
        std::equal(name.begin(), name.end(), fieldName.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                               std::tolower(static_cast<unsigned char>(b)); }))
      return static_cast<int>(i);
  }
  return -1;
}

void TDBGrid::ClearColumns() {
  columns_.clear();
  selected_ = 0;
  editor_open_ = false;
  ColumnsChanged();
}

void TDBGrid::SetOptions(TGridOptions options) {
  if (options == options_) return;
  options_ = options;
  if (!HasOption(dgEditing)) editor_open_ = false;
  Changed(TProperty::Options);
}

void TDBGrid::SetReadOnly(bool v) {
  if (v == read_only_) return;
  read_only_ = v;
  Changed(TProperty::ReadOnly);
}

void TDBGrid::SetTitleFont(const TFont& font) {
  if (font == title_font_) return;
  title_font_ = font;
  Changed(TProperty::TitleFont);
}

TColumn* TDBGrid::SelectedColumn() const {
  return selected_ >= 0 && selected_ < ColumnCount() ? columns_[static_cast<std::size_t>(selected_)].get() : nullptr;
}

TField* TDBGrid::SelectedField() const {
  TColumn* column = SelectedColumn();
  return column ? column->Field() : nullptr;
}

void TDBGrid::SetSelectedIndex(int index) {
  if (index < 0 || index >= ColumnCount() || index == selected_) return;
  MoveColumn(index);
}

void TDBGrid::SetSelectedField(const TField* field) {
  for (int i = 0; i < ColumnCount(); ++i)
    if (field && Columns(i).Field() == field) SetSelectedIndex(i);
}

void TDBGrid::MoveColumn(int index) {
  CommitEditor();
  if (OnColExit) OnColExit(this);
  selected_ = index;
  Changed(TProperty::SelectedIndex);
  if (OnColEnter) OnColEnter(this);
}

int TDBGrid::RowCount() const {
  TClientDataSet* data = DataSet();
  return data && data->Active() ? data->RecordCount() : 0;
}

int TDBGrid::CurrentRow() const {
  TClientDataSet* data = DataSet();
  return data && data->Active() ? data->RecNo() : 0;
}

TRect TDBGrid::CellRect(int row, int col) const {
  int x = HasOption(dgIndicator) ? 11 : 0;
  for (int i = 0; i < col && i < ColumnCount(); ++i)
    if (Columns(i).Visible()) x += Columns(i).Width() + 1;
  int y = (HasOption(dgTitles) ? kRowHeight + 1 : 0) + (row - 1) * (kRowHeight + 1);
  int w = col >= 0 && col < ColumnCount() ? Columns(col).Width() : 0;
  return {x, y, x + w, y + kRowHeight};
}

TCellStyle TDBGrid::DefaultCellStyle(int col, TGridDrawState state) const {
  TCellStyle style;
  const TColumn& column = Columns(col);
  style.background = column.Color();
  style.font_color = Font().color;
  style.bold = Font().bold;
  style.italic = Font().italic;
  style.alignment = column.Alignment();
  TClientDataSet* data = DataSet();
  TField* field = column.Field();
  if (field && data && data->Active() && !data->IsEmpty()) style.text = field->DisplayText();
  if (state & gdSelected) {
    style.background = clHighlight;
    style.font_color = clHighlightText;
  }
  style.focus_rect = (state & gdFocused) != 0;
  return style;
}

TCellStyle TDBGrid::StyleForCurrent(int row, int col) {
  // `row` is being read now; the selection belongs to the row the user is on.
  bool on_user_row = row == user_row_;
  bool show_selection = Focused() || HasOption(dgAlwaysShowSelection);
  TGridDrawState state = 0;
  if (on_user_row && (col == selected_ || HasOption(dgRowSelect)) && show_selection) state |= gdSelected;
  if (on_user_row && col == selected_ && Focused()) state |= gdFocused;
  TCellStyle style = DefaultCellStyle(col, state);
  if (OnDrawColumnCell) OnDrawColumnCell(*this, CellRect(row, col), col, Columns(col), state, style);
  // The cell being typed into shows what is typed, not the field's value yet.
  if (editor_open_ && on_user_row && col == selected_) style.text = editor_text_;
  if (shown_.size() < static_cast<std::size_t>(row)) shown_.resize(static_cast<std::size_t>(row));
  auto& cells = shown_[static_cast<std::size_t>(row - 1)];
  if (cells.size() < static_cast<std::size_t>(ColumnCount())) cells.resize(static_cast<std::size_t>(ColumnCount()));
  cells[static_cast<std::size_t>(col)] = style;
  return style;
}

TCellStyle TDBGrid::CellStyle(int row, int col) {
  TCellStyle blank;
  if (col < 0 || col >= ColumnCount()) return blank;
  blank = DefaultCellStyle(col, 0);
  blank.text.clear();
  TClientDataSet* data = DataSet();
  if (!data || !data->Active() || row < 1 || row > data->RecordCount()) return blank;
  user_row_ = data->RecNo();
  try {
    if (row == user_row_) return StyleForCurrent(row, col);
    if (data->State() == dsBrowse) {
      RowPeek peek(*data, DataSource());
      if (peek.MoveTo(row)) return StyleForCurrent(row, col);
    }
  } catch (...) {
    ShowHandlerException(std::current_exception());
    return blank;
  }
  std::size_t r = static_cast<std::size_t>(row - 1), c = static_cast<std::size_t>(col);
  if (r < shown_.size() && c < shown_[r].size()) return shown_[r][c];
  return blank;
}

bool TDBGrid::CanEditCell() const {
  if (!Showing() || !EffectivelyEnabled() || read_only_ || !HasOption(dgEditing)) return false;
  TColumn* column = SelectedColumn();
  TField* field = column ? column->Field() : nullptr;
  TClientDataSet* data = DataSet();
  return column && !column->ReadOnly() && field && !field->ReadOnly() && data && data->Active();
}

void TDBGrid::CommitEditor() {
  if (!editor_open_) return;
  TField* field = SelectedField();
  TClientDataSet* data = DataSet();
  if (field && data && data->Active()) {
    if (data->State() == dsBrowse) data->Edit();
    field->SetText(editor_text_);
  }
  editor_open_ = false;
  Changed(TProperty::Editor);
}

void TDBGrid::DataNotice(TDataLink::Notice notice) {
  switch (notice) {
    case TDataLink::Notice::RecordMoved:
      editor_open_ = false;
      Changed(TProperty::Row);
      break;
    case TDataLink::Notice::DataChanged:
      editor_open_ = false;
      Changed(TProperty::Data);
      break;
    case TDataLink::Notice::StateChanged: Changed(TProperty::State); break;
    case TDataLink::Notice::FieldChanged: Changed(TProperty::Data); break;
  }
}

void TDBGrid::UserSelectCell(int row, int col) {
  if (!Showing() || !EffectivelyEnabled()) return;
  RunHandler([&] {
    SetFocus();
    if (!Focused()) return;
    CommitEditor();
    if (col >= 0 && col < ColumnCount() && col != selected_) MoveColumn(col);
    TClientDataSet* data = DataSet();
    if (data && data->Active() && row >= 1 && row <= data->RecordCount() && row != data->RecNo()) data->SetRecNo(row);
    if (OnCellClick && SelectedColumn()) OnCellClick(*SelectedColumn());
  });
}

void TDBGrid::UserTitleClick(int col) {
  if (!Showing() || !EffectivelyEnabled() || !HasOption(dgTitles) || col < 0 || col >= ColumnCount()) return;
  RunHandler([&] {
    if (OnTitleClick) OnTitleClick(Columns(col));
  });
}

void TDBGrid::UserSetCellText(const std::string& text) {
  if (!CanEditCell()) return;
  RunHandler([&] {
    editor_open_ = true;
    editor_text_ = text;
    CommitEditor();
  });
}

void TDBGrid::UserEditButtonClick() {
  TColumn* column = SelectedColumn();
  if (!column || column->ButtonStyle() != cbsEllipsis || !Showing() || !EffectivelyEnabled()) return;
  RunHandler([&] {
    if (OnEditButtonClick) OnEditButtonClick(this);
  });
}

void TDBGrid::DoExit() {
  CommitEditor();
  TClientDataSet* data = DataSet();
  if (HasOption(dgCancelOnExit) && data && data->State() == dsInsert && !data->Modified()) data->Cancel();
  TWinControl::DoExit();
}

void TDBGrid::KeyDownDefault(int& key, TShiftState shift) {
  TClientDataSet* data = DataSet();
  bool active = data && data->Active();
  switch (key) {
    case VK_UP:
    case VK_DOWN:
      if (!active) return;
      CommitEditor();
      key == VK_UP ? data->Prior() : data->Next();
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (editor_open_) return;
      SetSelectedIndex(selected_ + (key == VK_LEFT ? -1 : 1));
      break;
    case VK_TAB:
      if (HasOption(dgTabs)) SetSelectedIndex(selected_ + ((shift & ssShift) ? -1 : 1));
      break;
    case VK_RETURN: CommitEditor(); break;
    case VK_F2:
      if (CanEditCell()) {
        editor_open_ = true;
        editor_text_ = SelectedField()->Text();
        Changed(TProperty::Editor);
      }
      break;
    case VK_ESCAPE:
      if (editor_open_) {
        editor_open_ = false;
        Changed(TProperty::Editor);
      } else if (active && (data->State() == dsEdit || data->State() == dsInsert)) {
        data->Cancel();
      }
      break;
    case VK_DELETE:
      if ((shift & ssCtrl) && active && !read_only_ && !data->IsEmpty() &&
          (!HasOption(dgConfirmDelete) || Ui().MessageDlg("Excluir registro?", mtConfirmation, mbOKCancel) != mrCancel))
        data->Delete();
      break;
    default: break;
  }
}

void TDBGrid::KeyPressDefault(char32_t& key) {
  if (!CanEditCell()) return;
  if (key == VK_BACK) {
    if (editor_open_ && !editor_text_.empty()) {
      std::u32string cps = ui::Utf8Decode(editor_text_);
      cps.pop_back();
      editor_text_ = ui::Utf8Encode(cps);
      Changed(TProperty::Editor);
    }
    return;
  }
  if (key < 32) return;
  if (!editor_open_) {
    // The first key typed on a cell replaces its text.
    editor_open_ = true;
    editor_text_.clear();
  }
  editor_text_ += ui::Utf8Encode(key);
  Changed(TProperty::Editor);
}
