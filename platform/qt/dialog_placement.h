#pragma once
// Where a modal form's window opens: its position property says centred on
// the screen or over the window that owns it; a designed position keeps the
// form's own place. The window always stays on the screen.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

#include "ui/ui_types.h"

class QWidget;

namespace dxqt {

// The top-left corner for a window of `size` on `screen` (its available
// area) over `owner` (the owning window's frame; empty when there is none),
// or nothing when the window system may choose (a designed form that has an
// owner).
std::optional<QPoint> dialogPosition(TPosition position, const QSize& size, const QRect& screen, const QRect& owner,
                                     const QPoint& designed);

// Moves `dialog` (at its size) where `position` puts it over the window of
// `parent`, on that window's screen (the primary one without a parent).
void placeDialog(QWidget& dialog, QWidget* parent, TPosition position, const QPoint& designed = {});

}  // namespace dxqt
