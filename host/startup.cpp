#include "startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "host_window.h"
#include "qt/net_wait.h"
#include "screenshot.h"

namespace {

constexpr int kSettleMs = 1000;
constexpr int kPollMs = 100;
constexpr int kLoadFailedExit = 2;
constexpr int kPictureFailedExit = 3;

int heldWork = 0;

// Saves the picture once the start has been quiet for the settle time.
void pictureWhenSettled(HostWindow& window, const QString& path, std::shared_ptr<QElapsedTimer> quiet) {
  // A modal message raised by held work (a budget that does not load) is the picture itself.
  const bool busy = dxqt::insideNetWait() || (startupHeld() && !QApplication::activeModalWidget());
  if (busy) {
    quiet->restart();
  } else if (quiet->elapsed() >= kSettleMs) {
    if (!saveWindowPicture(&window, path)) {
      std::fprintf(stderr, "distrato: could not write %s\n", path.toLocal8Bit().constData());
      QCoreApplication::exit(kPictureFailedExit);
      return;
    }
    // Inside a modal dialog a click opened, leaving the loop would go on with
    // the user's action as if the dialog were cancelled: end here instead.
    if (QApplication::activeModalWidget()) {
      std::fflush(nullptr);
      std::_Exit(0);
    }
    QCoreApplication::exit(0);
    return;
  }
  QTimer::singleShot(kPollMs, &window, [&window, path, quiet] { pictureWhenSettled(window, path, quiet); });
}

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

void holdStartup() { ++heldWork; }
void releaseStartup() {
  if (heldWork > 0) --heldWork;
}
bool startupHeld() { return heldWork > 0; }

std::function<bool(HostWindow&)> screenshotStep(const QString& path) {
  return [path](HostWindow& window) {
    // The timer also fires inside a modal dialog's loop, so an open dialog or message is pictured too.
    auto quiet = std::make_shared<QElapsedTimer>();
    quiet->start();
    QTimer::singleShot(kPollMs, &window, [&window, path, quiet] { pictureWhenSettled(window, path, quiet); });
    return true;
  };
}
