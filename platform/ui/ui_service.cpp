#include "ui/ui_service.h"

#include "ui/scripted_ui.h"

namespace {

UiService* current = nullptr;

UiService& DefaultUi() {
  static ScriptedUi fallback;
  return fallback;
}

}  // namespace

UiService& Ui() { return current ? *current : DefaultUi(); }

void SetUi(UiService* service) { current = service; }

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  return Ui().MessageDlg(text, type, buttons);
}

void ShowMessage(const std::string& text) { Ui().MessageDlg(text, mtCustom, mbOK); }
