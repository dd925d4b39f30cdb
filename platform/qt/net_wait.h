#pragma once
// While a remote call blocks the user-interface thread, the windows keep
// repainting and the busy indicator keeps turning, but user input waits
// until the call is over.

namespace dxqt {

void installNetWaitHook();
// True while the hook runs events: nothing may be destroyed then.
bool insideNetWait();

}  // namespace dxqt
