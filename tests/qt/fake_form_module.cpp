// Stands in for the module with a screen: IniProc shows an MDI child form
// filled with a yellow panel, through the toolkit the host renders.
#include "ui/application.h"
#include "ui/containers.h"
#include "ui/form.h"
#include "ui/static_controls.h"

namespace {

class YellowForm : public TForm {
 public:
  YellowForm() {
    SetCaption("Distrato Comercial");
    SetFormStyle(fsMDIChild);
    SetBounds(155, 45, 1068, 634);
    auto& panel = Add<TPanel>("panFundo", this);
    panel.SetAlign(alClient);
    panel.SetColor(clInfoBk);
    auto& label = Add<TLabel>("lblCodTela", &panel);
    label.SetCaption("DXR10900");
    label.SetBounds(8, 8, 80, 13);
  }
};

}  // namespace

extern "C" void IniProc() {
  auto& form = Application().CreateForm<YellowForm>("frmDistrato");
  form.Show();
}
