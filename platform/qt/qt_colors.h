#pragma once
// Toolkit colours and fonts as Qt sees them. System colours resolve to the
// classic desktop palette so the screens look the same under any Qt style.

#include <QColor>
#include <QFont>

#include "ui/ui_types.h"

namespace dxqt {

QColor toQColor(TColor color);
// The toolkit's font on top of the application font: the classic 8-point
// "MS Sans Serif" maps to the application's 9-point face.
QFont toQFont(const TFont& font, const QFont& base);
Qt::Alignment toQtAlignment(TAlignment alignment);

}  // namespace dxqt
