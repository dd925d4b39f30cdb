// distrato: the desktop host. Reads the login environment, opens the main
// window with its MDI area and loads the module Pkg_DXR10900 on demand.

#include <QFont>
#include <QSettings>
#include <QStyleFactory>
#include <cstdio>
#include <filesystem>

#include "data/process_memory.h"
#include "drag_splitters.h"
#include "host_application.h"
#include "host_options.h"
#include "host_window.h"
#include "login_dialog.h"
#include "login_setup.h"
#include "module_loader.h"
#include "shortfall_list.h"
#include "startup.h"
#include "unattended_login.h"
#include "window_geometry.h"
#include "qt/qt_ui.h"

namespace {

constexpr int kLoginRefusedExit = 2;

QString windowTitle(const HostOptions& o) {
  QString title = QStringLiteral("Distrato");
  const QString branch = QStringList{o.branch, o.branchName}.join(' ').trimmed();
  if (!branch.isEmpty()) title += QStringLiteral(" — ") + branch;
  return title;
}

void applyLook(QApplication& app) {
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFont font = app.font();
  font.setPointSize(9);
  app.setFont(font);
}

// The help or version text when the command line asks for one; empty
// otherwise, also when the line holds Qt's own options, read once Qt runs.
QString earlyAnswer(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return parseHostOptions(arguments, processEnvironment).helpText;
}

}  // namespace

int main(int argc, char** argv) {
  // --help and --version are answered before QApplication connects to a
  // display, so they work without one.
  if (const QString text = earlyAnswer(argc, argv); !text.isEmpty()) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
  }

  // Before Qt starts any thread.
  KeepFreedMemoryForReuse();
  HostApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("distrato"));
  app.setApplicationDisplayName(QStringLiteral("Distrato"));

  // Read again once Qt has taken its own options (-platform, -style...) out.
  HostOptionsResult parsed = parseHostOptions(app.arguments(), processEnvironment);
  if (!parsed.helpText.isEmpty()) {
    std::fputs(parsed.helpText.toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (!parsed.options) {
    std::fprintf(stderr, "distrato: %s\n", parsed.error.toLocal8Bit().constData());
    return 1;
  }
  HostOptions options = *parsed.options;
  completeFromBranch(options);
  applyLook(app);
  // Who works here is asked unless a scripted start gave it; an unattended
  // picture never waits for a person, nor does a start without a display.
  const bool unattended = !options.screenshotPath.isEmpty();
  const bool nobodyToAsk = unattended || withoutDisplay();
  if (!nobodyToAsk && (options.operatorCode.isEmpty() || options.password.isEmpty()) && !askLogin(options))
    return 0;
  if (nobodyToAsk) {
    if (const QString refusal = refusedLogin(options, verifyLogin); !refusal.isEmpty()) {
      std::fprintf(stderr, "distrato: %s\n", refusal.toLocal8Bit().constData());
      return kLoginRefusedExit;
    }
  }
  applyLoginEnvironment(options);
  // The screen still opens without it; its branch check then says why.
  if (const QString failure = openHostDatabase(options); !failure.isEmpty())
    std::fprintf(stderr, "distrato: %s\n", failure.toLocal8Bit().constData());

  const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
  ModuleLoader loader(options.modulePath.toStdString(), defaultModuleCandidates(exeDir));

  HostWindow window(windowTitle(options), loader, unattended);
  dxqt::QtUi ui(&window, window.mdiArea());
  ui.install();
  // A picture is always of the maximised window; only the user's own runs are remembered.
  QSettings settings(QStringLiteral("Distrato"), QStringLiteral("distrato"));
  if (unattended) window.showMaximized();
  else showAtSavedGeometry(window, settings);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] {
    if (!unattended) saveGeometryOf(window, settings);
  });

  StartupPlan plan;
  plan.openModule = options.openAtStart || unattended || !options.budget.isEmpty() || !options.clicks.isEmpty() ||
                    options.maximizeScreen || !options.drags.isEmpty() || !options.shortfallPath.isEmpty();
  if (options.maximizeScreen) plan.afterOpen.push_back(maximizeScreenStep());
  if (!options.budget.isEmpty()) plan.afterOpen.push_back(loadBudgetStep(options.budget, options.party));
  if (!options.drags.isEmpty()) plan.afterOpen.push_back(dragStep(options.drags));
  // Armed before the clicks: a click may open a modal dialog and not return until it closes.
  if (unattended) plan.afterOpen.push_back(screenshotStep(options.screenshotPath));
  if (!options.clicks.isEmpty()) plan.afterOpen.push_back(clickStep(options.clicks));
  if (!options.shortfallPath.isEmpty()) plan.afterOpen.push_back(shortfallStep(options.shortfallPath));
  scheduleStartup(window, std::move(plan));

  return app.exec();
}
