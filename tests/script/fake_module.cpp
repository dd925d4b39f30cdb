// Stands in for the module in distrato-script's program tests: an entry that
// opens a screen which reads the login branch and shows a message, so a test
// can tell whether module and runner share one application, one UI service
// and one login environment.

#include "lib/corvane.h"
#include "ui/application.h"
#include "ui/buttons.h"
#include "ui/form.h"
#include "ui/mask_edit.h"
#include "ui/ui_service.h"

extern "C" void IniProc() {
  auto& form = Application().CreateForm<TForm>("frmDistrato");
  form.SetFormStyle(fsMDIChild);
  auto& branch = form.Add<TMaskEdit>("medCdFilial", &form);
  branch.SetTabStop(true);
  form.OnActivate = [&branch](TComponent*) { branch.SetText(FiliProc()); };
  auto& report = form.Add<TButton>("btnAviso", &form);
  report.OnClick = [](TComponent*) { MessageDlg("Filial " + FiliProc() + ".", mtInformation, mbOK); };
  form.Show();
}
