#pragma once
// Ties the screen-free part of the library to the screen toolkit: after this,
// TMessages::ShowMsg(key, type, buttons, help) shows the catalogue text
// through the UI service. `type` is a TMsgDlgType, `buttons` the bits of a
// TMsgDlgButtons (for example `(mbYes | mbNo).bits`); the result is the modal
// result of the button pressed (mrYes == 6).
//
// It is not a static initializer, which a static library may silently drop:
// the module calls it when it starts, and every base form calls it when it
// is built, so a screen never finds ShowMsg without a dialog. Calling it
// again is harmless.

void InstallLibUiHooks();
