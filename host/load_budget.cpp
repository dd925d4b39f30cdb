#include <QTimer>
#include <cstdio>

#include "host_window.h"
#include "startup.h"
#include "ui/application.h"
#include "ui/db_grid.h"
#include "ui/edit.h"
#include "ui/form.h"

TForm* moduleMainScreen() {
  for (TForm* form : Application().Forms())
    if (form->FindAs<TEdit>("edtOrcamento") && form->FindAs<TDBGrid>("dbgPadrao")) return form;
  return nullptr;
}

std::function<bool(HostWindow&)> loadBudgetStep(const QString& budget, int party) {
  return [budget, party](HostWindow& window) {
    TForm* screen = moduleMainScreen();
    if (!screen) {
      std::fprintf(stderr, "distrato: the module's main screen is not open; --budget needs it\n");
      return false;
    }
    // Posted, so a message the screen raises runs its own loop while the
    // steps that follow (the screenshot) are already scheduled.
    holdStartup();
    QTimer::singleShot(0, &window, [budget = budget.toStdString(), party] {
      struct Release {
        ~Release() { releaseStartup(); }
      } release;
      TForm* form = moduleMainScreen();
      if (!form) return;
      auto& edit = *form->FindAs<TEdit>("edtOrcamento");
      auto& grid = *form->FindAs<TDBGrid>("dbgPadrao");
      // As the user does: type the budget, then click the list, which leaves
      // the filter panel and loads the list and the first party's accounts.
      edit.UserSetFocus();
      Application().ProcessReleases();
      edit.UserSetText(budget);
      Application().ProcessReleases();
      grid.UserSetFocus();
      Application().ProcessReleases();
      if (party > 0 && party <= grid.RowCount()) {
        grid.UserSelectCell(party, 0);
        Application().ProcessReleases();
      }
    });
    return true;
  };
}
