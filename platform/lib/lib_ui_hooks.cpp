#include "lib/lib_ui_hooks.h"

#include <string>

#include "lib/crv_msg.h"
#include "ui/ui_service.h"

namespace {

TMsgDlgType DialogType(int type) {
  if (type < mtWarning || type > mtCustom) return mtCustom;
  return static_cast<TMsgDlgType>(type);
}

TMsgDlgButtons DialogButtons(int buttons) {
  TMsgDlgButtons set;
  set.bits = static_cast<unsigned>(buttons);
  // A dialog without a button could never be closed.
  if (set.bits == 0) set = mbOK;
  return set;
}

}  // namespace

void InstallLibUiHooks() {
  TMessages::SetShowHandler([](const std::string& text, int type, int buttons, int /*helpContext*/) {
    return static_cast<int>(Ui().MessageDlg(text, DialogType(type), DialogButtons(buttons)));
  });
}
