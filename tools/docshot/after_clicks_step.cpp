#include "after_clicks_step.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "host_window.h"
#include "qt/net_wait.h"
#include "startup.h"
#include "ui/application.h"
#include "ui/db_grid.h"
#include "ui/form.h"
#include "ui/utf8.h"

namespace {

constexpr int kRetryMs = 50;
constexpr int kRefusedExit = 2;

void refuse(const std::string& what) {
  std::fprintf(stderr, "distrato-docshot: %s\n", what.c_str());
  QCoreApplication::exit(kRefusedExit);
}

// Types the registration into the selected cell key by key, as the grid's key
// filter sees them, and enters it.
void typeIntoCell(TDBGrid& grid, const std::string& text) {
  for (char32_t key : ui::Utf8Decode(text)) grid.UserKeyPress(key);
  grid.UserKeyDown(VK_RETURN);
}

// Returns false when the picture would show the wrong screen.
bool act(const ShotChoices& choices) {
  TForm* form = moduleMainScreen();
  auto* grid = form ? form->FindAs<TDBGrid>("dbgPadrao") : nullptr;
  if (!grid) return refuse("the main screen's list is not open"), false;
  if (choices.search) {
    // The search button shows only on the substitute column while a substitute is being named.
    if (!grid->CanEditCell()) return refuse("--search: the list is not taking a substitute"), false;
    grid->UserEditButtonClick();
    Application().ProcessReleases();
  }
  if (!choices.substitute.isEmpty()) {
    if (!grid->CanEditCell()) return refuse("--substitute: the list is not taking a substitute"), false;
    grid->UserSetFocus();
    typeIntoCell(*grid, choices.substitute.toStdString());
    Application().ProcessReleases();
  }
  for (const QString& name : choices.thenClicks) {
    auto* target = form->FindAs<TControl>(name.toStdString());
    if (!target || !target->Showing() || !target->EffectivelyEnabled())
      return refuse("--then-click " + name.toStdString() + ": no such control showing and enabled"), false;
    target->UserClick();
    Application().ProcessReleases();
  }
  return true;
}

void actWhenIdle(HostWindow& window, std::shared_ptr<const ShotChoices> choices) {
  // The host's clicks (and the budget before them) hold the start until done;
  // a dialog a click opened (a question not answered) is still that click.
  if (startupHeld() || dxqt::insideNetWait() || QApplication::activeModalWidget()) {
    QTimer::singleShot(kRetryMs, &window, [&window, choices] { actWhenIdle(window, choices); });
    return;
  }
  // Held while acting so the screenshot waits; a dialog opened here is pictured inside its loop.
  holdStartup();
  const bool done = act(*choices);
  if (done) releaseStartup();
}

}  // namespace

std::function<bool(HostWindow&)> afterClicksStep(ShotChoices choices) {
  return [shared = std::make_shared<const ShotChoices>(std::move(choices))](HostWindow& window) {
    if (!moduleMainScreen()) return false;
    const bool anything = shared->search || !shared->substitute.isEmpty() || !shared->thenClicks.isEmpty();
    if (anything) QTimer::singleShot(0, &window, [&window, shared] { actWhenIdle(window, shared); });
    return true;
  };
}
