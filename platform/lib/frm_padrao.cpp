#include "lib/frm_padrao.h"

#include "lib/lib_ui_hooks.h"

TfrmPadrao::TfrmPadrao(const std::string& screenCode)
    : lblCodTela(Add<TLabel>("lblCodTela")), msgPadrao(Own<TMessages>("msgPadrao", "msgPadrao")) {
  InstallLibUiHooks();
  lblCodTela.SetCaption(screenCode);
  OnCreate = [this](TComponent* s) { FormCreate(s); };
  OnClose = [this](TComponent* s, TCloseAction& action) { FormClose(s, action); };
}

void TfrmPadrao::FormCreate(TComponent* /*sender*/) {}

void TfrmPadrao::FormClose(TComponent* /*sender*/, TCloseAction& /*action*/) {}
