#include "qt/pick_list_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/client_dataset.h"
#include "qt/dataset_rows.h"
#include "qt/dialog_placement.h"
#include "qt/message_box.h"

namespace dxqt {

namespace {

QTableWidget* makeTable(const DataSetRows& rows, QWidget* parent) {
  auto* table = new QTableWidget(static_cast<int>(rows.rows.size()), static_cast<int>(rows.titles.size()), parent);
  table->setObjectName(QStringLiteral("rows"));
  table->setHorizontalHeaderLabels(rows.titles);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(20);
  table->setAlternatingRowColors(true);
  for (int r = 0; r < static_cast<int>(rows.rows.size()); ++r) {
    for (int c = 0; c < rows.titles.size(); ++c) {
      auto* item = new QTableWidgetItem(rows.rows[static_cast<std::size_t>(r)].value(c));
      if (rows.rightAligned[static_cast<std::size_t>(c)]) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(r, c, item);
    }
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// Wide enough for every column as its contents need, so nothing is cut,
// but never wider than the window it opens over.
int fittingWidth(const QTableWidget& table, const QWidget* parent) {
  constexpr int kMinimum = 560;
  constexpr int kMargins = 48;  // the layout's margins, the frame and a vertical scroll bar
  const int wanted = table.horizontalHeader()->length() + kMargins;
  const int limit = parent ? std::max(kMinimum, parent->width() * 9 / 10) : 1000;
  return std::clamp(wanted, kMinimum, limit);
}

QDialogButtonBox* okCancel(QDialog& dialog, const QString& okText) {
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Cancelar"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

bool runPickList(QWidget* parent, TClientDataSet& data, const QString& title) {
  const DataSetRows rows = readVisibleRows(data);
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("PickList"));
  dialog.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&dialog);
  QTableWidget* table = makeTable(rows, &dialog);
  layout->addWidget(table);
  layout->addWidget(okCancel(dialog, QStringLiteral("OK")));
  QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
  if (data.RecNo() > 0) table->selectRow(data.RecNo() - 1);
  else if (!rows.rows.empty()) table->selectRow(0);
  dialog.resize(fittingWidth(*table, parent), 380);
  placeDialog(dialog, parent, poOwnerFormCenter);
  if (dialog.exec() != QDialog::Accepted || table->currentRow() < 0) return false;
  data.SetRecNo(table->currentRow() + 1);
  return true;
}

void runFindDialog(QWidget* parent, TClientDataSet& data) {
  const DataSetRows rows = readVisibleRows(data);
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("FindDialog"));
  dialog.setWindowTitle(QStringLiteral("Procurar"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  auto* field = new QComboBox(&dialog);
  field->setObjectName(QStringLiteral("field"));
  field->addItems(rows.titles);
  auto* text = new QLineEdit(&dialog);
  text->setObjectName(QStringLiteral("text"));
  form->addRow(QStringLiteral("Campo"), field);
  form->addRow(QStringLiteral("Procurar por"), text);
  layout->addLayout(form);
  layout->addWidget(okCancel(dialog, QStringLiteral("Localizar")));
  dialog.resize(380, 130);
  placeDialog(dialog, parent, poOwnerFormCenter);
  if (dialog.exec() != QDialog::Accepted || text->text().isEmpty() || field->currentIndex() < 0) return;

  const int column = field->currentIndex();
  const int count = static_cast<int>(rows.rows.size());
  const int start = std::max(0, data.RecNo());  // the row after the current one, 0-based
  for (int step = 0; step < count; ++step) {
    const int r = (start + step) % count;
    if (rows.rows[static_cast<std::size_t>(r)].value(column).contains(text->text(), Qt::CaseInsensitive)) {
      data.SetRecNo(r + 1);
      return;
    }
  }
  showMessageBox(parent, messageTitle(mtInformation), QStringLiteral("Registro não encontrado."), mtInformation, mbOK);
}

}  // namespace dxqt
