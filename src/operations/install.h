#pragma once
// Attaches the rescission operations to the main screen's commands. The
// module's entry (IniProc) does it; tests that link the operations call it.

namespace operations {

void InstallRescissionOperations();

}  // namespace operations
