#pragma once
// Unit Cli_DXR10902: the product shortfall list ("ATENÇÃO"). The package
// exports its creator for the host and other modules; this module does not
// call it. User-interface thread only.

#include <string>

class TClientDataSet;
class TfrmErroProdDistrato;

namespace Cli_DXR10902 {
extern TfrmErroProdDistrato* frmErroProdDistrato;  // the one instance while it is shown
}  // namespace Cli_DXR10902

extern "C" {
// Shows the products of `dataset` (its visible fields with their labels)
// under `text`, modally; returns when the user closes the list. The dataset
// stays the caller's; moving in the list moves its current record.
void CriaErroProd(TClientDataSet& dataset, const std::string& text);
}
