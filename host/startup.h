#pragma once
// What happens once the main window is up: open the module, then whatever
// steps were queued after it (a budget to load, a screenshot).

#include <QString>
#include <functional>
#include <vector>

class HostWindow;

struct StartupPlan {
  bool openModule = false;
  // Each step runs after the previous one; a step returning false ends the
  // program with exit code 2.
  std::vector<std::function<bool(HostWindow&)>> afterOpen;
};

// Schedules the plan on the event loop (it runs once the loop is running).
void scheduleStartup(HostWindow& window, StartupPlan plan);

// The screenshot step: settle ~1 s, save, quit with 0 (or 3 when it can't be saved).
std::function<bool(HostWindow&)> screenshotStep(const QString& path);

// Loads a budget as the user would: types it into the main screen's budget
// field and clicks the list, leaving the filter panel; then, when `party` is
// positive, selects that row (1-based) of the list. False when the main
// screen is not open.
std::function<bool(HostWindow&)> loadBudgetStep(const QString& budget, int party);
