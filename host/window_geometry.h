#pragma once
// Where the host's main window opens: maximised the first time and whenever
// it was closed maximised, otherwise where and as large as it was when last
// closed (kept with QSettings), and always within the screen it opens on.

#include <QRect>
#include <functional>

class HostWindow;
class QMainWindow;
class QSettings;

// A saved window rectangle brought inside the screen's available area:
// no larger than it, and moved in when it lies partly or wholly outside.
QRect fitOnScreen(const QRect& saved, const QRect& available);

// Shows the window as `settings` remember it (maximised when they hold
// nothing).
void showAtSavedGeometry(QMainWindow& window, QSettings& settings);
// Remembers the window's normal geometry and whether it is maximised.
void saveGeometryOf(const QMainWindow& window, QSettings& settings);

// A startup step: maximises the module's main screen inside the main window,
// as the user does with its title bar. False when the screen is not open.
std::function<bool(HostWindow&)> maximizeScreenStep();
