#include "window_geometry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMargins>
#include <QScreen>
#include <QSettings>
#include <algorithm>

#include "startup.h"
#include "ui/form.h"

namespace {

const QString kGeometryKey = QStringLiteral("mainWindow/geometry");
const QString kMaximizedKey = QStringLiteral("mainWindow/maximized");

QRect availableAround(const QRect& saved) {
  QScreen* screen = QGuiApplication::screenAt(saved.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

QRect fitOnScreen(const QRect& saved, const QRect& available) {
  if (available.isEmpty()) return saved;
  const QSize size = saved.size().boundedTo(available.size());
  const int left = std::clamp(saved.left(), available.left(), available.right() - size.width() + 1);
  const int top = std::clamp(saved.top(), available.top(), available.bottom() - size.height() + 1);
  return {QPoint(left, top), size};
}

void showAtSavedGeometry(QMainWindow& window, QSettings& settings) {
  const QRect saved = settings.value(kGeometryKey).toRect();
  if (!saved.isValid() || settings.value(kMaximizedKey, true).toBool()) {
    window.showMaximized();
    return;
  }
  const QRect available = availableAround(saved);
  window.setGeometry(fitOnScreen(saved, available));
  window.showNormal();
  // The remembered rectangle is the inside of the window; its frame, known
  // once shown, must fit on the screen too.
  const QRect frame = window.frameGeometry(), inside = window.geometry();
  const QMargins margins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                         frame.bottom() - inside.bottom());
  if (!available.isEmpty() && !available.contains(frame))
    window.setGeometry(fitOnScreen(inside, available.marginsRemoved(margins)));
}

void saveGeometryOf(const QMainWindow& window, QSettings& settings) {
  settings.setValue(kGeometryKey, window.normalGeometry());
  settings.setValue(kMaximizedKey, window.isMaximized());
}

std::function<bool(HostWindow&)> maximizeScreenStep() {
  return [](HostWindow&) {
    TForm* screen = moduleMainScreen();
    if (!screen) return false;
    screen->SetWindowState(wsMaximized);
    return true;
  };
}
