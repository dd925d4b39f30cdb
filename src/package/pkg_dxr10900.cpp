// Package Pkg_DXR10900: the entry the host calls after loading the module.
// CriaDistratoComercial and the unit globals of Cli_DXR10900 are exported
// from their unit (workspace/cli_dxr10900.h).

#include "lib/lib_ui_hooks.h"
#include "operations/install.h"
#include "ui/run_handler.h"
#include "workspace/cli_dxr10900.h"

// Attaches the rescission operations and opens the main screen; attaching
// here, not from a static initialiser, keeps them from depending on how the
// units are linked. Nothing may leave through the C entry: a failure
// goes to the host's exception display like any event's, and the host keeps
// running.
extern "C" __attribute__((visibility("default"))) void IniProc() {
  RunHandler([] {
    InstallLibUiHooks();
    operations::InstallRescissionOperations();
    CriaDistratoComercial();
  });
}
