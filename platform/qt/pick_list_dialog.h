#pragma once
// The pick list: the rows of a dataset in a grid of its visible fields, with
// OK and Cancelar. Picking a row makes it the dataset's current record.

#include <QString>

class QWidget;
class TClientDataSet;

namespace dxqt {

bool runPickList(QWidget* parent, TClientDataSet& data, const QString& title);

// The find dialog: a field, a text, and the first row after the current one
// (wrapping around) whose text in that field holds it becomes current.
void runFindDialog(QWidget* parent, TClientDataSet& data);

}  // namespace dxqt
