#include "dialogs/plan_dataset.h"

#include "data/formats.h"
#include "data/text_compare.h"
#include "dialogs/installment_rules.h"
#include "lib/grid_text.h"
#include "ui/db_grid.h"

namespace dialogs {

bool Editing(const TClientDataSet& data) { return data.State() == dsEdit || data.State() == dsInsert; }

void EnsureOpen(TClientDataSet& data) {
  if (!data.Active()) data.CreateDataSet();
}

void TakeSnapshot(TClientDataSet& plan, TClientDataSet& snapshot) {
  if (!plan.Active()) return;
  snapshot.SetData(plan.Data());
}

void SetDueDateText(TField& field, const std::string& text) {
  if (DueDateTextEmpty(text)) {
    field.Clear();
    return;
  }
  field.SetAsDateTime(StrToDate(text));
}

char32_t Vd_Virgula(const TDBGrid& grid, const std::string& fieldName, char32_t key) {
  const TColumn* selected = grid.SelectedColumn();
  bool fieldSelected = selected && EqualsNoCase(selected->FieldName(), fieldName);
  std::string typed = key == U',' && fieldSelected ? GridText(grid, fieldName, false) : std::string();
  return FilterValueKey(fieldSelected, typed, GridText(grid, fieldName, true), key);
}

namespace {
// Walks the dataset without telling its grids, and comes back to where it was.
template <class Fn>
void Walk(TClientDataSet& data, bool fromCurrent, Fn fn) {
  if (!data.Active() || data.IsEmpty()) return;
  TBookmark mark = data.GetBookmark();
  data.DisableControls();
  try {
    if (!fromCurrent) data.First();
    while (!data.Eof()) {
      fn();
      data.Next();
    }
    if (data.BookmarkValid(mark)) data.GotoBookmark(mark);
  } catch (...) {
    data.EnableControls();
    throw;
  }
  data.EnableControls();
}
}  // namespace

std::vector<double> FieldValues(TClientDataSet& data, const std::string& fieldName, bool fromCurrent) {
  std::vector<double> values;
  Walk(data, fromCurrent, [&] { values.push_back(data.FieldByName(fieldName).AsFloat()); });
  return values;
}

std::vector<DateTime> FieldDates(TClientDataSet& data, const std::string& fieldName) {
  std::vector<DateTime> dates;
  Walk(data, false, [&] {
    TField& f = data.FieldByName(fieldName);
    if (!f.IsNull()) dates.push_back(DateOf(f.AsDateTime()));
  });
  return dates;
}

void FocusField(TDBGrid& grid, const std::string& fieldName) {
  // Best effort: the caller is already refusing something, and a second
  // refusal from leaving the other column would only hide the first.
  try {
    grid.SetFocus();
    int col = IndiceCol(grid, fieldName);
    if (col >= 0 && grid.SelectedIndex() != col) grid.SetSelectedIndex(col);
  } catch (const Exception&) {
  }
}

}  // namespace dialogs
