#pragma once
// The end of every operation: the list reloaded from the server and the
// party that was current made current again.

#include <string>

class TfrmDistrato;

namespace operations {

// Clicks sbtVerificar and locates the row of client code `client`, without
// regard to case; with no such row the reload's current row stays.
void ReloadOn(TfrmDistrato& screen, const std::string& client);

// The same after a failure: a reload that fails as well is dropped, so the
// first failure is the one reported.
void ReloadQuietly(TfrmDistrato& screen, const std::string& client) noexcept;

}  // namespace operations
