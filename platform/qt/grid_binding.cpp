// The data grid: a table view over the grid's rows whose cells are painted
// from the toolkit's cell styles. Clicks, keys, title clicks and the edit
// button go to the toolkit grid; the current cell follows the toolkit's
// current record and selected column.
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "qt/grid_model.h"
#include "qt/qt_colors.h"
#include "qt/qt_keys.h"
#include "ui/db_grid.h"

namespace dxqt {

namespace {

// Paints a cell as its style says: fill, text at the style's offset from
// the edge it is aligned to, and the focus rectangle.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(GridModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const TCellStyle& s = model_.style(index.row(), index.column());
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, toQColor(s.background));
    painter->setClipRect(r);
    painter->setFont(index.data(Qt::FontRole).value<QFont>());
    painter->setPen(toQColor(s.font_color));
    const QString text = QString::fromStdString(s.text);
    const QFontMetrics fm(painter->font());
    const int width = fm.horizontalAdvance(text);
    int x = r.left() + s.offset_x;
    if (s.alignment == taRightJustify) x = r.right() + 1 - width - s.offset_x;
    else if (s.alignment == taCenter) x = r.left() + (r.width() - width) / 2;
    painter->drawText(QPoint(x, r.top() + s.offset_y + fm.ascent()), text);
    if (s.focus_rect) {
      QPen dotted(toQColor(clWindowText), 1, Qt::DotLine);
      painter->setPen(dotted);
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }

 private:
  GridModel& model_;
};

class GridView : public QTableView {
 public:
  GridView(TDBGrid& grid, QWidget* parent) : QTableView(parent), grid_(grid) {}

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    const QModelIndex index = indexAt(e->position().toPoint());
    if (index.isValid()) grid_.UserSelectCell(index.row() + 1, index.column());
    else grid_.UserSetFocus();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }

 private:
  TDBGrid& grid_;
};

class GridBinding : public ControlBinding {
 public:
  GridBinding(FormView& view, TDBGrid& grid, GridView* widget)
      : ControlBinding(view, grid, widget), grid_(grid), view_(widget), model_(new GridModel(grid, widget)) {
    widget->setModel(model_);
    widget->setItemDelegate(new CellDelegate(*model_, widget));
    widget->setSelectionMode(QAbstractItemView::NoSelection);
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->setTabKeyNavigation(false);
    widget->setWordWrap(false);
    widget->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    widget->verticalHeader()->setDefaultSectionSize(TDBGrid::kRowHeight + 1);
    widget->verticalHeader()->setMinimumSectionSize(TDBGrid::kRowHeight);
    widget->verticalHeader()->setFixedWidth(12);
    widget->horizontalHeader()->setSectionsClickable(true);
    widget->horizontalHeader()->setHighlightSections(false);
    widget->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QObject::connect(widget->horizontalHeader(), &QHeaderView::sectionClicked, widget,
                     [this](int section) {
                       if (attached()) grid_.UserTitleClick(section);
                     });
    QObject::connect(widget->horizontalHeader(), &QHeaderView::sectionResized, widget, [this](int section, int, int size) {
      if (!syncing_ && attached() && section < grid_.ColumnCount()) grid_.Columns(section).SetWidth(size);
    });
    editButton_ = new QToolButton(widget->viewport());
    editButton_->setObjectName(QStringLiteral("editButton"));
    editButton_->setText(QStringLiteral("…"));
    editButton_->setFocusPolicy(Qt::NoFocus);
    editButton_->hide();
    QObject::connect(editButton_, &QToolButton::clicked, editButton_, [this] {
      if (attached()) grid_.UserEditButtonClick();
    });
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::Columns, TProperty::Options, TProperty::TitleFont}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Data || property == TProperty::Columns || property == TProperty::State) {
      model_->reload();
      syncColumns();
      syncCurrent();
    } else if (property == TProperty::Row || property == TProperty::SelectedIndex || property == TProperty::Editor) {
      model_->restyle();
      syncCurrent();
    } else if (property == TProperty::Options || property == TProperty::TitleFont) {
      view_->horizontalHeader()->setVisible(grid_.HasOption(dgTitles));
      view_->verticalHeader()->setVisible(grid_.HasOption(dgIndicator));
      view_->setShowGrid(grid_.HasOption(dgColLines) || grid_.HasOption(dgRowLines));
      syncCurrent();
    } else if (property == TProperty::Color) {
      QPalette p = view_->palette();
      p.setColor(QPalette::Base, toQColor(grid_.Color()));
      view_->setPalette(p);
    } else {
      ControlBinding::sync(property);
    }
  }

  // Every key goes to the toolkit grid, which moves the record, the column
  // or types into its cell editor.
  bool handleKey(QKeyEvent* e) override {
    const int vk = toVirtualKey(e->key());
    int key = vk;
    if (vk != 0) key = grid_.UserKeyDown(vk, toShiftState(e->modifiers()));
    if (key == VK_RETURN || key == VK_ESCAPE) {
      syncCurrent();
      return false;  // on to the form's default and cancel buttons
    }
    const QString text = e->text();
    const bool typed = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !text.isEmpty() &&
                       (text.at(0).isPrint() || e->key() == Qt::Key_Backspace);
    if (key != 0 && typed) grid_.UserKeyPress(e->key() == Qt::Key_Backspace ? char32_t(VK_BACK) : text.toUcs4().value(0));
    syncCurrent();
    return true;
  }

 private:
  void syncColumns() {
    syncing_ = true;
    for (int i = 0; i < grid_.ColumnCount(); ++i) {
      view_->setColumnHidden(i, !grid_.Columns(i).Visible());
      view_->setColumnWidth(i, grid_.Columns(i).Width());
    }
    syncing_ = false;
  }

  void syncCurrent() {
    const int row = grid_.CurrentRow() - 1;
    const int col = grid_.SelectedIndex();
    const QModelIndex current = model_->index(row, col);
    if (current.isValid()) {
      view_->setCurrentIndex(current);
      view_->scrollTo(current);
    }
    TColumn* column = grid_.SelectedColumn();
    const bool button = current.isValid() && column && column->ButtonStyle() == cbsEllipsis &&
                        grid_.HasOption(dgEditing) && !grid_.ReadOnly() && !column->ReadOnly();
    if (button) {
      const QRect cell = view_->visualRect(current);
      editButton_->setGeometry(cell.right() - cell.height() + 1, cell.top(), cell.height(), cell.height());
    }
    editButton_->setVisible(button);
  }

  TDBGrid& grid_;
  GridView* view_;
  GridModel* model_;
  QToolButton* editButton_;
  bool syncing_ = false;
};

// Default column widths are measured in the fonts the grid is drawn with.
void installTextMeasure() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  SetTextWidthMeasure([](const TFont& font, const std::string& text) {
    if (!qApp) return static_cast<int>(text.size()) * 6;
    return QFontMetrics(toQFont(font, QApplication::font())).horizontalAdvance(QString::fromStdString(text));
  });
}

}  // namespace

std::unique_ptr<ControlBinding> makeGridBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* grid = dynamic_cast<TDBGrid*>(&control);
  if (!grid) return nullptr;
  installTextMeasure();
  return std::make_unique<GridBinding>(view, *grid, new GridView(*grid, parent));
}

}  // namespace dxqt
