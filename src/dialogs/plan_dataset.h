#pragma once
// What both value dialogs do to a plan dataset and its grid: the snapshot,
// the due-date text handler, the value-column key filter, reading the
// installment values and putting the focus back on a field.

#include <string>
#include <vector>

#include "data/client_dataset.h"

class TDBGrid;

namespace dialogs {

// True while the dataset holds a pending edit or insert.
bool Editing(const TClientDataSet& data);
// Opens the dataset (empty, with its declared fields) unless it is open.
void EnsureOpen(TClientDataSet& data);

// The whole plan copied into the snapshot, as it stands before a change.
void TakeSnapshot(TClientDataSet& plan, TClientDataSet& snapshot);

// Due-date text handler: a text with nothing but blanks once its "/" are
// gone clears the field; anything else must be a date (conversion error
// otherwise).
void SetDueDateText(TField& field, const std::string& text);

// Vd_Virgula: the decimal-comma filter for a key typed into `fieldName`'s
// column of the grid; 0 when the key is dropped.
char32_t Vd_Virgula(const TDBGrid& grid, const std::string& fieldName, char32_t key);

// The field's values from the current record (or the first) to the end,
// in the dataset's order; the current record is kept.
std::vector<double> FieldValues(TClientDataSet& data, const std::string& fieldName, bool fromCurrent);

// Every due date of the dataset, in its order.
std::vector<DateTime> FieldDates(TClientDataSet& data, const std::string& fieldName);

// Focuses the grid on the column of the field.
void FocusField(TDBGrid& grid, const std::string& fieldName);

}  // namespace dialogs
