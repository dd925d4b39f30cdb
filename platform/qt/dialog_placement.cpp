#include "qt/dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace dxqt {

namespace {

QPoint centredIn(const QRect& area, const QSize& size) {
  return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2};
}

// A window larger than the screen shows its top-left corner, where the title
// and the first controls are.
QPoint keptOn(const QRect& screen, const QSize& size, QPoint at) {
  at.setX(std::max(screen.left(), std::min(at.x(), screen.x() + screen.width() - size.width())));
  at.setY(std::max(screen.top(), std::min(at.y(), screen.y() + screen.height() - size.height())));
  return at;
}

}  // namespace

std::optional<QPoint> dialogPosition(TPosition position, const QSize& size, const QRect& screen, const QRect& owner,
                                     const QPoint& designed) {
  switch (position) {
    case poScreenCenter:
      return keptOn(screen, size, centredIn(screen, size));
    case poOwnerFormCenter:
    case poMainFormCenter:
      return keptOn(screen, size, centredIn(owner.isEmpty() ? screen : owner, size));
    case poDesigned:
      break;
  }
  if (!owner.isEmpty()) return std::nullopt;
  return keptOn(screen, size, designed);
}

void placeDialog(QWidget& dialog, QWidget* parent, TPosition position, const QPoint& designed) {
  QWidget* owner = parent ? parent->window() : nullptr;
  QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect ownerFrame = owner && owner->isVisible() ? owner->frameGeometry() : QRect();
  // The dialog's frame is not drawn yet: the window system gives it the
  // borders its owner has.
  const QSize borders = ownerFrame.isEmpty() ? QSize() : ownerFrame.size() - owner->size();
  if (const std::optional<QPoint> at =
          dialogPosition(position, dialog.size() + borders, screen->availableGeometry(), ownerFrame, designed))
    dialog.move(*at);
}

}  // namespace dxqt
