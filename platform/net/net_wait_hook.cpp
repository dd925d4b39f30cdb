#include "net_wait_hook.h"

namespace {
std::function<void()>& Hook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void SetNetWaitHook(std::function<void()> hook) { Hook() = std::move(hook); }

const std::function<void()>& NetWaitHook() { return Hook(); }
