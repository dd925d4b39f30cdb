#pragma once
// The host's main window: an MDI area for the module's screens and the menu
// "Módulos" that opens them.

#include <QMainWindow>

#include "module_loader.h"

class QMdiArea;

class HostWindow : public QMainWindow {
  Q_OBJECT
 public:
  HostWindow(const QString& title, ModuleLoader& loader, bool reportErrorsOnConsole);

  QMdiArea* mdiArea() const { return mdiArea_; }

  // Loads the module when needed and runs its entry. False when it could not
  // be loaded; the reason was reported and the host goes on.
  bool openModule();

 private:
  void reportLoadFailure(const QString& message);

  ModuleLoader& loader_;
  QMdiArea* mdiArea_;
  bool reportErrorsOnConsole_;
};
