#include "qt/grid_model.h"

#include <QApplication>
#include <QFont>

#include "qt/qt_colors.h"

namespace dxqt {

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.RowCount(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.ColumnCount(); }

const TCellStyle& GridModel::style(int row, int col) const {
  auto key = std::make_pair(row, col);
  auto it = styles_.find(key);
  if (it == styles_.end()) it = styles_.emplace(key, grid_.CellStyle(row + 1, col)).first;
  return it->second;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= grid_.RowCount() || index.column() >= grid_.ColumnCount()) return {};
  const TCellStyle& s = style(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(s.text);
    case Qt::BackgroundRole: return toQColor(s.background);
    case Qt::ForegroundRole: return toQColor(s.font_color);
    case Qt::TextAlignmentRole: return static_cast<int>(toQtAlignment(s.alignment));
    case Qt::FontRole: {
      QFont f = toQFont(grid_.Font(), QApplication::font());
      f.setBold(s.bold);
      f.setItalic(s.italic);
      return f;
    }
    default: return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role == Qt::DisplayRole) return section + 1 == grid_.CurrentRow() ? QStringLiteral("▸") : QString();
    return {};
  }
  if (section < 0 || section >= grid_.ColumnCount()) return {};
  if (role == Qt::DisplayRole) return QString::fromStdString(grid_.Columns(section).TitleCaption());
  if (role == Qt::FontRole) return toQFont(grid_.TitleFont(), QApplication::font());
  if (role == Qt::ForegroundRole) return toQColor(grid_.TitleFont().color);
  return {};
}

void GridModel::reload() {
  beginResetModel();
  styles_.clear();
  endResetModel();
}

void GridModel::restyle() {
  styles_.clear();
  if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
}

}  // namespace dxqt
