#include "qt/dataset_rows.h"

#include "data/client_dataset.h"
#include "ui/data_link.h"

namespace dxqt {

DataSetRows readVisibleRows(TClientDataSet& data) {
  DataSetRows out;
  for (int i = 0; i < data.FieldCount(); ++i) {
    TField& f = data.Fields(i);
    if (!f.Visible()) continue;
    out.titles << QString::fromStdString(f.DisplayLabel());
    out.fieldIndexes.push_back(i);
    out.rightAligned.push_back(f.Alignment() == taRightJustify);
  }
  if (!data.Active()) return out;
  RowPeek peek(data, nullptr);
  for (int r = 1; r <= data.RecordCount(); ++r) {
    if (!peek.MoveTo(r)) break;
    QStringList row;
    for (int i : out.fieldIndexes) row << QString::fromStdString(data.Fields(i).DisplayText());
    out.rows.push_back(row);
  }
  return out;
}

}  // namespace dxqt
