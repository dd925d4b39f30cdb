#pragma once
// What happens once the main window is up: open the module, then whatever
// steps were queued after it (screenshot now; scripted starts later).

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
