// distrato-docshot: the desktop host's screenshot with steps a command line
// of the host cannot give: the rescission type checked and a bank account
// typed into "Dados Baixa", as the user does, before the clicks; and, in the
// modal dialog a click opens, texts typed and one control clicked. It takes
// the pictures of the consolidation roads and of the undo in docs/.
//
//   distrato-docshot [--total] [--account CODE] [--dialog-type CONTROL=TEXT]...
//                    [--dialog-click CONTROL] HOST-OPTIONS...
//
// Every other option is the desktop host's (`distrato --help`).

#include <QFont>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "branch_name_lookup.h"
#include "host_application.h"
#include "host_options.h"
#include "host_window.h"
#include "login_setup.h"
#include "module_loader.h"
#include "qt/qt_ui.h"
#include "startup.h"
#include "ui/application.h"
#include "ui/check_controls.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/mask_edit.h"

namespace {

struct ShotChoices {
  bool total = false;
  QString account;
  QList<QPair<QString, QString>> dialogTexts;  // typed into the dialog, in order
  QString dialogClick;                          // then clicked in it
};

// Takes this program's own options out of the arguments; the rest are the host's.
ShotChoices TakeShotChoices(QStringList& arguments, QString& error) {
  ShotChoices choices;
  for (int i = 1; i < arguments.size();) {
    if (arguments[i] == QStringLiteral("--total")) {
      choices.total = true;
      arguments.removeAt(i);
    } else if (arguments[i] == QStringLiteral("--dialog-type") || arguments[i] == QStringLiteral("--dialog-click")) {
      const bool typing = arguments[i] == QStringLiteral("--dialog-type");
      const QString value = i + 1 < arguments.size() ? arguments[i + 1] : QString();
      if (value.isEmpty()) error = arguments[i] + QStringLiteral(" needs a value");
      else if (!typing) choices.dialogClick = value;
      else if (!value.contains('=')) error = QStringLiteral("--dialog-type needs CONTROL=TEXT");
      else choices.dialogTexts << qMakePair(value.section('=', 0, 0), value.section('=', 1));
      arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
    } else if (arguments[i] == QStringLiteral("--account")) {
      if (i + 1 >= arguments.size()) error = QStringLiteral("--account needs a bank account code");
      else choices.account = arguments[i + 1];
      arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
    } else {
      ++i;
    }
  }
  return choices;
}

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

// Waits for the modal dialog a click opens, then types and clicks in it as
// the user does; the picture waits until that is done.
void WorkDialogWhenShown(QObject* context, ShotChoices choices) {
  TForm* dialog = Application().ActiveForm();
  if (!dialog || dialog == moduleMainScreen() || !dialog->Modal()) {
    QTimer::singleShot(50, context, [context, choices] { WorkDialogWhenShown(context, choices); });
    return;
  }
  holdStartup();
  for (const auto& [name, text] : choices.dialogTexts) {
    if (auto* edit = dialog->FindAs<TCustomEdit>(name.toStdString())) {
      edit->UserSetFocus();
      edit->UserSetText(text.toStdString());
    }
  }
  releaseStartup();
  // Posted: a click that opens a list of its own stays in that list's loop.
  if (auto* control = dialog->FindAs<TControl>(choices.dialogClick.toStdString()))
    QTimer::singleShot(0, context, [control] { control->UserClick(); });
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
  if (options.branchName.isEmpty())
    options.branchName = QString::fromStdString(
        lookUpBranchName(options.databasePath.toStdString(), options.branch.toStdString()));
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
  dxqt::QtUi ui(&window, window.mdiArea());
  ui.install();
  window.show();

  StartupPlan plan;
  plan.openModule = true;
  if (!options.budget.isEmpty()) plan.afterOpen.push_back(loadBudgetStep(options.budget, options.party));
  plan.afterOpen.push_back(PrepareStep(choices));
  if (!options.screenshotPath.isEmpty()) plan.afterOpen.push_back(screenshotStep(options.screenshotPath));
  if (!options.clicks.isEmpty()) plan.afterOpen.push_back(clickStep(options.clicks));
  if (!choices.dialogTexts.isEmpty() || !choices.dialogClick.isEmpty())
    QTimer::singleShot(0, &window, [&window, choices] { WorkDialogWhenShown(&window, choices); });
  scheduleStartup(window, std::move(plan));
  return app.exec();
}
