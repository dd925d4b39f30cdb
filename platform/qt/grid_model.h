#pragma once
// A data grid's rows and columns for a Qt view. Every cell's look comes
// from the toolkit grid's CellStyle (its draw handler included); styles are
// kept until the grid reports a change.

#include <QAbstractTableModel>
#include <map>
#include <utility>

#include "ui/db_grid.h"

namespace dxqt {

class GridModel : public QAbstractTableModel {
 public:
  explicit GridModel(TDBGrid& grid, QObject* parent = nullptr) : QAbstractTableModel(parent), grid_(grid) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The style the toolkit gives a cell (0-based row and column).
  const TCellStyle& style(int row, int col) const;
  // Content or shape changed: everything is read again.
  void reload();
  // Only the look may have changed (current row, selected column, editor).
  void restyle();

 private:
  TDBGrid& grid_;
  mutable std::map<std::pair<int, int>, TCellStyle> styles_;
};

}  // namespace dxqt
