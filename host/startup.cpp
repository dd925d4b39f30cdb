#include "startup.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "host_window.h"
#include "screenshot.h"

namespace {

constexpr int kSettleMs = 1000;
constexpr int kLoadFailedExit = 2;
constexpr int kPictureFailedExit = 3;

void runSteps(HostWindow& window, std::shared_ptr<StartupPlan> plan, std::size_t next) {
  if (next >= plan->afterOpen.size()) return;
  if (!plan->afterOpen[next](window)) {
    QCoreApplication::exit(kLoadFailedExit);
    return;
  }
  QTimer::singleShot(0, &window, [&window, plan, next] { runSteps(window, plan, next + 1); });
}

}  // namespace

void scheduleStartup(HostWindow& window, StartupPlan plan) {
  auto shared = std::make_shared<StartupPlan>(std::move(plan));
  QTimer::singleShot(0, &window, [&window, shared] {
    if (shared->openModule && !window.openModule()) {
      // Interactive starts keep the host open; unattended ones report failure.
      if (!shared->afterOpen.empty()) QCoreApplication::exit(kLoadFailedExit);
      return;
    }
    runSteps(window, shared, 0);
  });
}

std::function<bool(HostWindow&)> screenshotStep(const QString& path) {
  return [path](HostWindow& window) {
    // The timer also fires inside a modal dialog's loop, so an open message is pictured too;
    // exit() then ends every running loop.
    QTimer::singleShot(kSettleMs, &window, [&window, path] {
      if (!saveWindowPicture(&window, path)) {
        std::fprintf(stderr, "distrato: could not write %s\n", path.toLocal8Bit().constData());
        QCoreApplication::exit(kPictureFailedExit);
        return;
      }
      QCoreApplication::exit(0);
    });
    return true;
  };
}
