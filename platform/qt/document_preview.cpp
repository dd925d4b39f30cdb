#include "qt/document_preview.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QToolBar>
#include <exception>

#include "qt/document_painter.h"
#include "qt/document_pdf.h"
#include "ui/document.h"

namespace dxqt {

namespace {

// The file name the save dialog offers: the title, without what a file name
// cannot hold.
QString SuggestedFileName(const Document& document) {
  QString name = QString::fromStdString(document.title);
  name.replace(QRegularExpression(QStringLiteral(R"([/\\:*?"<>|])")), QStringLiteral("-"));
  return (name.isEmpty() ? QStringLiteral("documento") : name) + QStringLiteral(".pdf");
}

void SavePdf(const Document& document, QWidget* parent) {
  const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Salvar PDF"), SuggestedFileName(document),
                                                    QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  try {
    WriteDocumentPdf(document, path.toStdString());
  } catch (const std::exception& e) {
    QMessageBox::warning(parent, QStringLiteral("Salvar PDF"), QString::fromUtf8(e.what()));
  }
}

}  // namespace

void PreviewDocument(const Document& document, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(document.title));
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(QString::fromStdString(document.title));
  preview.resize(900, 1000);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                   [&document](QPrinter* target) { PaintDocument(document, *target); });
  if (QToolBar* bar = preview.findChild<QToolBar*>()) {
    bar->addSeparator();
    QAction* save = bar->addAction(QStringLiteral("Salvar PDF"));
    save->setObjectName(QStringLiteral("actSalvarPdf"));
    save->setToolTip(QStringLiteral("Salvar o documento em PDF"));
    QObject::connect(save, &QAction::triggered, &preview, [&document, &preview] { SavePdf(document, &preview); });
  }
  preview.exec();
}

}  // namespace dxqt
