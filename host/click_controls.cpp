#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "host_window.h"
#include "qt/net_wait.h"
#include "startup.h"
#include "ui/application.h"
#include "ui/control.h"
#include "ui/form.h"

namespace {

constexpr int kRetryMs = 50;
constexpr int kRefusedExit = 2;

void refuse(const std::string& name, const char* why) {
  holdStartup();  // no picture of a screen the clicks did not reach
  std::fprintf(stderr, "distrato: --click %s: %s\n", name.c_str(), why);
  QCoreApplication::exit(kRefusedExit);
}

void clickWhenIdle(HostWindow& window, std::shared_ptr<const QStringList> controls) {
  // A budget still loading (or a remote call under way) comes first: the
  // clicks must act on the screen the user would see.
  releaseStartup();
  if (startupHeld() || dxqt::insideNetWait()) {
    holdStartup();
    QTimer::singleShot(kRetryMs, &window, [&window, controls] { clickWhenIdle(window, controls); });
    return;
  }
  // Not held while clicking: a modal dialog a click opens is what a screenshot waits for.
  for (const QString& name : *controls) {
    const std::string control = name.toStdString();
    TForm* form = moduleMainScreen();
    if (!form) return refuse(control, "the main screen is closed");
    TControl* target = form->FindAs<TControl>(control);
    if (!target) return refuse(control, "no such control on the main screen");
    // A user's click on these does nothing; say so rather than picture the wrong screen.
    if (!target->Showing()) return refuse(control, "the control is not showing");
    if (!target->EffectivelyEnabled()) return refuse(control, "the control is disabled");
    target->UserClick();
    Application().ProcessReleases();
  }
}

}  // namespace

std::function<bool(HostWindow&)> clickStep(const QStringList& controls) {
  return [shared = std::make_shared<const QStringList>(controls)](HostWindow& window) {
    if (!moduleMainScreen()) {
      std::fprintf(stderr, "distrato: the module's main screen is not open; --click needs it\n");
      return false;
    }
    holdStartup();
    QTimer::singleShot(0, &window, [&window, shared] { clickWhenIdle(window, shared); });
    return true;
  };
}
