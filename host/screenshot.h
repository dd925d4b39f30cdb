#pragma once
// Pictures of the host window for documentation and checks without a display.

#include <QString>

class QWidget;

// Draws `window` and every other visible top-level window over it (an open
// dialog belongs in the picture) and saves a PNG. False when it can't be written.
bool saveWindowPicture(QWidget* window, const QString& path);
