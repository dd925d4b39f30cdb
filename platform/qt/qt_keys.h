#pragma once
// Qt keys and modifiers in the toolkit's terms (virtual keys, shift states,
// shortcuts), and back.

#include <QKeySequence>

#include "ui/shortcut.h"
#include "ui/ui_types.h"

namespace dxqt {

// The virtual key of a Qt key; 0 when the toolkit has none for it.
int toVirtualKey(int qtKey);
TShiftState toShiftState(Qt::KeyboardModifiers modifiers);
QKeySequence toKeySequence(TShortCut shortcut);

}  // namespace dxqt
