#include "screenshot.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

bool saveWindowPicture(QWidget* window, const QString& path) {
  QPixmap picture = window->grab();
  QPainter painter(&picture);
  const QPoint origin = window->mapToGlobal(QPoint(0, 0));
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top == window || !top->isVisible() || !top->isWindow()) continue;
    if (top->windowType() == Qt::ToolTip || top->windowType() == Qt::Popup) continue;
    const QPoint at = top->mapToGlobal(QPoint(0, 0)) - origin;
    painter.drawPixmap(at, top->grab());
  }
  painter.end();
  return picture.save(path, "PNG");
}
