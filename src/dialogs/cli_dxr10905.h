#pragma once
// Unit Cli_DXR10905: "Confirmar Senha". The result is the unit's global; the
// creator is exported with C linkage. User-interface thread only.

#include <string>

class TfrmConfSenhaDist;

namespace Cli_DXR10905 {
extern std::string stOperador;                // the confirmed operator; empty unless confirmed
extern TfrmConfSenhaDist* frmConfSenhaDist;   // the one instance while it is shown
}  // namespace Cli_DXR10905

// C linkage keeps the exported name unmangled for the host; its callers are
// C++, so Clang's warning that a C caller could not take the text does not
// apply.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
extern "C" {
// Shows the dialog modally over the main screen's connection and returns the
// confirming operator's code, or an empty text when the user cancelled or
// closed it (or there is no main screen to confirm for).
std::string CriaConfSenha();
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
