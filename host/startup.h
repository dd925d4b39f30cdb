#pragma once
// What happens once the main window is up: open the module, then whatever
// steps were queued after it (a budget to load, a screenshot).

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class HostWindow;
class TForm;

struct StartupPlan {
  bool openModule = false;
  // Each step runs after the previous one; a step returning false ends the
  // program with exit code 2.
  std::vector<std::function<bool(HostWindow&)>> afterOpen;
};

// Schedules the plan on the event loop (it runs once the loop is running).
void scheduleStartup(HostWindow& window, StartupPlan plan);

// The screenshot step: once no step's work is pending and no remote call runs,
// settle ~1 s, save, quit with 0 (or 3 when it can't be saved). Queued before
// a click step, it also pictures the modal dialog the click opens.
std::function<bool(HostWindow&)> screenshotStep(const QString& path);

// Work a step posted and has not done yet (a budget still loading, clicks not
// yet given): the steps after it wait, and so does the screenshot.
void holdStartup();
void releaseStartup();
bool startupHeld();

// Loads a budget as the user would: types it into the main screen's budget
// field and clicks the list, leaving the filter panel; then, when `party` is
// positive, selects that row (1-based) of the list. False when the main
// screen is not open.
std::function<bool(HostWindow&)> loadBudgetStep(const QString& budget, int party);

// The module's main screen (the form with the budget field), or null.
TForm* moduleMainScreen();

// Clicks the named controls of the main screen in order, as the user does,
// once the earlier steps' work is done. A click that opens a modal dialog
// stays in its loop; a screenshot taken then ends the process there. False
// when the main screen is not open; an unknown or hidden control is reported
// and ends the program with exit code 2.
std::function<bool(HostWindow&)> clickStep(const QStringList& controls);
