#pragma once
// Attaches the rescission operations to the main screen's commands. The
// module does it when it loads; tests that link the operations call it.

namespace operations {

void InstallRescissionOperations();

}  // namespace operations
