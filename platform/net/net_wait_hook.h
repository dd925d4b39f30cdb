#pragma once
// What the process does while a remote call blocks its thread. The desktop
// host installs a hook that repaints its windows; it runs on the calling
// thread about every 50 ms during a connect or a call. Set it once, at
// start-up, before any call.

#include <functional>

void SetNetWaitHook(std::function<void()> hook);
const std::function<void()>& NetWaitHook();
