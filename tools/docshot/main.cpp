// distrato-docshot: the desktop host's screenshot with steps a command line
// of the host cannot give, taken as the user does. Before the clicks: the
// rescission type checked and a bank account typed into "Dados Baixa". During
// them: questions answered and the search's row picked without showing them.
// After them: the substitute column's search pressed, a registration typed
// into it, more controls clicked; texts typed into a dialog they open and one
// of its controls clicked. It takes the pictures in docs/.
//
//   distrato-docshot [--total] [--account CODE] [--answer yes|no] [--pick ROW]
//                    [--search] [--substitute REGISTRATION] [--then-click A,B,...]
//                    [--dialog-type CONTROL=TEXT]... [--dialog-click CONTROL]
//                    HOST-OPTIONS...
//
// Every other option is the desktop host's (`distrato --help`).

#include <QFont>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "after_clicks_step.h"
#include "answering_ui.h"
#include "host_application.h"
#include "host_options.h"
#include "host_window.h"
#include "login_dialog.h"
#include "login_setup.h"
#include "module_loader.h"
#include "startup.h"
#include "unattended_login.h"
#include "ui/application.h"
#include "ui/check_controls.h"
#include "ui/db_grid.h"
#include "ui/form.h"
#include "ui/mask_edit.h"
#include "shot_choices.h"

namespace {

// Checks "Total" and types the bank account as the user does; the exit of
// the account field checks it against the server and fills the bank fields.
std::function<bool(HostWindow&)> PrepareStep(ShotChoices choices) {
  return [choices](HostWindow& window) {
    if (!moduleMainScreen()) return false;
    holdStartup();
    QTimer::singleShot(0, &window, [choices] {
      struct Release {
        ~Release() { releaseStartup(); }
      } release;
      TForm* form = moduleMainScreen();
      if (!form) return;
      if (choices.total) {
        if (auto* total = form->FindAs<TRadioButton>("rbtTotal")) total->UserClick();
        Application().ProcessReleases();
      }
      if (!choices.account.isEmpty()) {
        auto* account = form->FindAs<TMaskEdit>("medCdReduCont");
        auto* grid = form->FindAs<TDBGrid>("dbgPadrao");
        if (!account || !grid) return;
        account->UserSetFocus();
        account->UserSetText(choices.account.toStdString());
        grid->UserSetFocus();
        Application().ProcessReleases();
      }
    });
    return true;
  };
}

}  // namespace

int main(int argc, char** argv) {
  HostApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("distrato"));
  app.setApplicationDisplayName(QStringLiteral("Distrato"));

  QStringList arguments = app.arguments();
  QString error;
  const ShotChoices choices = TakeShotChoices(arguments, error);
  HostOptionsResult parsed = parseHostOptions(arguments, processEnvironment);
  if (!error.isEmpty() || !parsed.options) {
    std::fprintf(stderr, "distrato-docshot: %s\n", (error.isEmpty() ? parsed.error : error).toLocal8Bit().constData());
    return 1;
  }
  HostOptions options = *parsed.options;
  completeFromBranch(options);
  // Nobody answers a dialog here: a refused login ends the picture at once.
  if (const QString refusal = refusedLogin(options, verifyLogin); !refusal.isEmpty()) {
    std::fprintf(stderr, "distrato-docshot: %s\n", refusal.toLocal8Bit().constData());
    return 2;
  }
  applyLoginEnvironment(options);
  if (const QString failure = openHostDatabase(options); !failure.isEmpty())
    std::fprintf(stderr, "distrato-docshot: %s\n", failure.toLocal8Bit().constData());
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFont font = app.font();
  font.setPointSize(9);
  app.setFont(font);

  const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
  ModuleLoader loader(options.modulePath.toStdString(), defaultModuleCandidates(exeDir));
  HostWindow window(QStringLiteral("Distrato — ") + options.branch + ' ' + options.branchName, loader, true);
  AnsweringUi ui(&window, window.mdiArea(), choices.answer, choices.pick, choices.dialogTexts, choices.dialogClick);
  ui.install();
  window.show();

  StartupPlan plan;
  plan.openModule = true;
  if (!options.budget.isEmpty()) plan.afterOpen.push_back(loadBudgetStep(options.budget, options.party));
  plan.afterOpen.push_back(PrepareStep(choices));
  if (!options.screenshotPath.isEmpty()) plan.afterOpen.push_back(screenshotStep(options.screenshotPath));
  if (!options.clicks.isEmpty()) plan.afterOpen.push_back(clickStep(options.clicks));
  plan.afterOpen.push_back(afterClicksStep(choices));
  scheduleStartup(window, std::move(plan));
  return app.exec();
}
