#include "exception_display.h"

#include <cstdio>

#include "data/exceptions.h"
#include "ui/run_handler.h"

void showUnhandledException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
    return;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "distrato: %s\n", e.what());
  } catch (...) {
  }
  // The toolkit's display: the silent abort is dropped, anything else shown.
  ShowHandlerException(error);
}

void runGuarded(const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    showUnhandledException(std::current_exception());
  }
}
