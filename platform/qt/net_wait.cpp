#include "qt/net_wait.h"

#include <QCoreApplication>

#include "net/net_wait_hook.h"

namespace dxqt {

namespace {
int waitDepth = 0;
}

bool insideNetWait() { return waitDepth > 0; }

void installNetWaitHook() {
  SetNetWaitHook([] {
    ++waitDepth;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    --waitDepth;
  });
}

}  // namespace dxqt
