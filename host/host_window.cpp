#include "host_window.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <cstdio>

#include "exception_display.h"

HostWindow::HostWindow(const QString& title, ModuleLoader& loader, bool reportErrorsOnConsole)
    : loader_(loader), mdiArea_(new QMdiArea(this)), reportErrorsOnConsole_(reportErrorsOnConsole) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("HostWindow"));
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);

  QMenu* modules = menuBar()->addMenu(QStringLiteral("&Módulos"));
  modules->setObjectName(QStringLiteral("mnuModulos"));
  QAction* distrato = modules->addAction(QStringLiteral("Distrato Comercial"));
  distrato->setObjectName(QStringLiteral("actDistratoComercial"));
  connect(distrato, &QAction::triggered, this, [this] { openModule(); });
  modules->addSeparator();
  QAction* quit = modules->addAction(QStringLiteral("Sai&r"));
  connect(quit, &QAction::triggered, this, &QWidget::close);

  // Room for the module's 1068 × 634 screen at its design position, when
  // the window is restored from maximised without a remembered size.
  resize(1280, 760);
}

bool HostWindow::openModule() {
  ModuleLoader::Entry entry = loader_.entry();
  if (!entry) {
    reportLoadFailure(QStringLiteral("Não foi possível carregar o módulo %1: %2")
                          .arg(QString::fromStdString(loader_.attemptedPath()),
                               QString::fromStdString(loader_.error())));
    return false;
  }
  runGuarded([entry] { entry(); });
  return true;
}

void HostWindow::reportLoadFailure(const QString& message) {
  std::fprintf(stderr, "distrato: %s\n", message.toLocal8Bit().constData());
  if (!reportErrorsOnConsole_) QMessageBox::critical(this, QStringLiteral("Distrato"), message);
}
