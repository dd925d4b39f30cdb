#pragma once
// QApplication that keeps running when an event handler throws: the
// exception is shown instead of ending the program.

#include <QApplication>

class HostApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};
