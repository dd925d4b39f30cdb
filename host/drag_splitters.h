#pragma once
// Dragging the main screen's splitters at start, as the user does with the
// mouse: for pictures of the screen with a taller list or wider grids.

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

class HostWindow;

// "Splitter1:400" → ("Splitter1", 400); false when it does not read so.
bool parseSplitterDrag(const QString& text, QPair<QString, int>& drag);

// A startup step: once earlier steps' work is done, drags each named
// splitter by its pixels (down or right positive). An unknown control or one
// that is no splitter is reported and ends the program with exit code 2.
std::function<bool(HostWindow&)> dragStep(const QList<QPair<QString, int>>& drags);
