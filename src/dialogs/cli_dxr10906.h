#pragma once
// Unit Cli_DXR10906: "Transferir Cotas". Inputs and results are the unit's
// globals; the creator is exported with C linkage.

#include <string>

#include "data/variant.h"

class TComponent;
class TfrmTransfCotas;

namespace Cli_DXR10906 {
extern std::string stNomeContOrig;         // party giving up the quotas
extern std::string stNomeContDest;         // party receiving them
extern double doValorTransf;               // value transferred
extern double doQtConvidados;              // guests
extern double doQtCotas;                   // quotas
extern bool boOk;                          // the user confirmed
extern bool boIdCriado;                    // set on creation; cleared only when the unit loads
extern TfrmTransfCotas* frmTransfCotas;    // the one instance while it is shown
}  // namespace Cli_DXR10906

// C linkage keeps the exported name unmangled for the host; its callers are
// C++, so Clang's warning that a C caller could not take the Variant does not
// apply.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
extern "C" {
// Shows the dialog modally and returns [value, guests, quotas]; all three 0
// when the user did not confirm.
Variant CriaTrocaTitularidade(TComponent& owner, const std::string& origem, const std::string& destino,
                              double valor);
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
