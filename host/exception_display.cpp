#include "exception_display.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>
#include <cstdio>

#include "data/exceptions.h"

void showUnhandledException(std::exception_ptr error) {
  QString text;
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
    return;
  } catch (const std::exception& e) {
    text = QString::fromUtf8(e.what());
  } catch (...) {
    text = QStringLiteral("Erro desconhecido.");
  }
  std::fprintf(stderr, "distrato: %s\n", text.toLocal8Bit().constData());
  QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  box.exec();
}

void runGuarded(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    showUnhandledException(std::current_exception());
  }
}
