#pragma once
// The data-aware grid: one row per record of its data source's dataset, one
// column per TColumn. Cells are not painted here: CellStyle() says what a
// cell shows (background, font colour, bold, alignment, text offset, text),
// starting from a default built from the field's display text and alignment
// and then handed to OnDrawColumnCell, which may change any of it.
//
// The user's typing goes to an in-place editor for the selected cell; the
// editor's text is written to the field (dataset Edit, then the field's
// SetText) when the user presses Enter, moves to another cell, or calls
// UserSetCellText.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/data_link.h"

enum TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

using TGridOptions = unsigned;
constexpr TGridOptions dgEditing = 1u << 0;
constexpr TGridOptions dgAlwaysShowEditor = 1u << 1;
constexpr TGridOptions dgTitles = 1u << 2;
constexpr TGridOptions dgIndicator = 1u << 3;
constexpr TGridOptions dgColumnResize = 1u << 4;
constexpr TGridOptions dgColLines = 1u << 5;
constexpr TGridOptions dgRowLines = 1u << 6;
constexpr TGridOptions dgTabs = 1u << 7;
constexpr TGridOptions dgRowSelect = 1u << 8;
constexpr TGridOptions dgAlwaysShowSelection = 1u << 9;
constexpr TGridOptions dgConfirmDelete = 1u << 10;
constexpr TGridOptions dgCancelOnExit = 1u << 11;
constexpr TGridOptions dgMultiSelect = 1u << 12;
constexpr TGridOptions dgDefaultOptions =
    dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;

using TGridDrawState = unsigned;
constexpr TGridDrawState gdSelected = 1u << 0;
constexpr TGridDrawState gdFocused = 1u << 1;
constexpr TGridDrawState gdFixed = 1u << 2;

// What one cell shows. The text is placed `offset_x` pixels from the edge
// it is aligned to (left, or right for right-aligned text) and `offset_y`
// pixels below the top.
struct TCellStyle {
  TColor background = clWindow;
  TColor font_color = clWindowText;
  bool bold = false;
  bool italic = false;
  TAlignment alignment = taLeftJustify;
  int offset_x = 2;
  int offset_y = 2;
  std::string text;
  bool focus_rect = false;
};

class TDBGrid;

// Measures a text in a font, in pixels. The renderer installs the real
// measure; until then widths are estimated from the font size.
using TTextWidthMeasure = std::function<int(const TFont& font, const std::string& text)>;
void SetTextWidthMeasure(TTextWidthMeasure measure);
int TextWidth(const TFont& font, const std::string& text);

class TColumn {
 public:
  explicit TColumn(TDBGrid& grid) : grid_(grid) {}

  TDBGrid& Grid() const { return grid_; }
  int Index() const;
  const std::string& FieldName() const { return field_name_; }
  void SetFieldName(std::string name);
  // The field of that name in the grid's dataset, or null.
  TField* Field() const;
  // The title set, else the field's display label, else the field name.
  std::string TitleCaption() const;
  void SetTitleCaption(std::string caption);
  // The width set, else DefaultWidth().
  int Width() const { return width_set_ ? width_ : DefaultWidth(); }
  void SetWidth(int width);
  bool WidthSet() const { return width_set_; }
  // Room for the field's display width in average characters of the grid's
  // font plus padding, and never narrower than the title; 64 without a field.
  int DefaultWidth() const;
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  TColumnButtonStyle ButtonStyle() const { return button_style_; }
  void SetButtonStyle(TColumnButtonStyle style);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // The colour set, else the grid's.
  TColor Color() const;
  void SetColor(TColor color);
  // The alignment set, else the field's (numbers to the right).
  TAlignment Alignment() const;
  void SetAlignment(TAlignment alignment);

 private:
  void Changed();

  TDBGrid& grid_;
  std::string field_name_;
  std::string title_;
  bool title_set_ = false;
  int width_ = 64;
  bool width_set_ = false;
  bool read_only_ = false;
  TColumnButtonStyle button_style_ = cbsAuto;
  bool visible_ = true;
  TColor color_ = clWindow;
  bool color_set_ = false;
  TAlignment alignment_ = taLeftJustify;
  bool alignment_set_ = false;
};

class TDBGrid : public TWinControl {
 public:
  using DrawColumnCellEvent = std::function<void(TDBGrid& sender, const TRect& rect, int dataCol, TColumn& column,
                                                 TGridDrawState state, TCellStyle& style)>;
  using ColumnEvent = std::function<void(TColumn& column)>;

  TDBGrid();

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source) { link_.SetDataSource(source); }
  TClientDataSet* DataSet() const { return link_.DataSet(); }

  // --- columns ---
  TColumn& AddColumn(const std::string& fieldName);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TColumn& Columns(int index) const { return *columns_.at(static_cast<std::size_t>(index)); }
  // Index of the column showing the field, or -1.
  int ColumnIndexOf(const std::string& fieldName) const;
  void ClearColumns();

  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  bool HasOption(TGridOptions option) const { return (options_ & option) == option; }
  void IncludeOptions(TGridOptions options) { SetOptions(options_ | options); }
  void ExcludeOptions(TGridOptions options) { SetOptions(options_ & ~options); }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v);
  const TFont& TitleFont() const { return title_font_; }
  void SetTitleFont(const TFont& font);

  // The selected column. Changing it runs OnColExit for the column left (an
  // exception keeps it) and OnColEnter for the new one.
  int SelectedIndex() const { return selected_; }
  void SetSelectedIndex(int index);
  TColumn* SelectedColumn() const;
  TField* SelectedField() const;
  void SetSelectedField(const TField* field);

  // --- events ---
  DrawColumnCellEvent OnDrawColumnCell;
  ColumnEvent OnTitleClick;
  ColumnEvent OnCellClick;
  TNotifyEvent OnColEnter;
  TNotifyEvent OnColExit;
  TNotifyEvent OnEditButtonClick;

  // --- drawing ---
  static constexpr int kRowHeight = 18;
  int RowCount() const;
  int CurrentRow() const;
  // The style of a cell: `row` is 1-based in the dataset's order. Rows other
  // than the current one are read without scroll events (RowPeek); while the
  // dataset is being edited they show what they showed last. The cell open
  // in the editor shows the editor's text.
  TCellStyle CellStyle(int row, int col);
  // The style the grid gives the current record's cell before the handler.
  TCellStyle DefaultCellStyle(int col, TGridDrawState state) const;
  TRect CellRect(int row, int col) const;

  // --- in-place editor ---
  bool EditorOpen() const { return editor_open_; }
  const std::string& EditorText() const { return editor_text_; }
  bool CanEditCell() const;
  // Writes the editor's text to the field; nothing when it is closed.
  void CommitEditor();

  // --- user events ---
  void UserSelectCell(int row, int col);
  void UserTitleClick(int col);
  void UserSetCellText(const std::string& text);
  void UserEditButtonClick();

  bool AcceptsFocus() const override { return true; }
  void DoExit() override;
  void Removing(TComponent& doomed) override { link_.Removing(doomed); }

 protected:
  void KeyDownDefault(int& key, TShiftState shift) override;
  void KeyPressDefault(char32_t& key) override;

 private:
  friend class TColumn;
  void ColumnsChanged() { Changed(TProperty::Columns); }
  void DataNotice(TDataLink::Notice notice);
  void MoveColumn(int index);
  TCellStyle StyleForCurrent(int row, int col);

  TDataLink link_;
  std::vector<std::unique_ptr<TColumn>> columns_;
  TGridOptions options_ = dgDefaultOptions;
  bool read_only_ = false;
  TFont title_font_;
  int selected_ = 0;
  bool editor_open_ = false;
  std::string editor_text_;
  // Last styles seen per row, shown while the dataset is being edited.
  std::vector<std::vector<TCellStyle>> shown_;
  int user_row_ = 0;
};
