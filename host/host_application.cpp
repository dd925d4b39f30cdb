#include "host_application.h"

#include "exception_display.h"

bool HostApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    showUnhandledException(std::current_exception());
    return false;
  }
}
