#pragma once
// `--shortfall FILE`: the module's product shortfall list (CriaErroProd)
// shown over the products of a file, one "CODE;NAME" per line, under the
// list's usual text, as another module of the host would show it. The step
// runs on the host's event loop.

#include <QString>
#include <functional>

class HostWindow;

// The step that opens the list once the module is loaded. False when the
// module does not export the list or the file cannot be read (said on
// standard error).
std::function<bool(HostWindow&)> shortfallStep(const QString& path);
