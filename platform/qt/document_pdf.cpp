#include "qt/document_pdf.h"

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <memory>
#include <stdexcept>

#include "qt/document_painter.h"
#include "ui/document.h"

namespace dxqt {

namespace {

// A process of its own without Qt (the script runner) gets an application
// on the offscreen platform, kept to the end: fonts need one.
void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "distrato";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

void WriteDocumentPdf(const Document& document, const std::string& path) {
  EnsureGuiApplication();
  const QString file = QString::fromStdString(path);
  {
    QPdfWriter writer(file);
    writer.setResolution(300);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("Distrato Comercial"));
    PaintDocument(document, writer);
  }
  QFile written(file);
  if (!written.exists() || written.size() == 0)
    throw std::runtime_error("Não foi possível gravar o arquivo " + path + ".");
}

}  // namespace dxqt
