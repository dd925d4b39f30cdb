#pragma once
// A snapshot of a dataset's visible fields, read row by row without moving
// its current record for good and without its scroll events, for the pick
// list and the find dialog.

#include <QString>
#include <QStringList>
#include <vector>

class TClientDataSet;

namespace dxqt {

struct DataSetRows {
  QStringList titles;
  std::vector<int> fieldIndexes;      // dataset field index per column
  std::vector<QStringList> rows;      // display texts, row by row (0-based)
  std::vector<bool> rightAligned;     // per column
};

DataSetRows readVisibleRows(TClientDataSet& data);

}  // namespace dxqt
