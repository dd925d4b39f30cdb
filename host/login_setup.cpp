#include "login_setup.h"

void applyLoginEnvironment(const HostOptions&) {
  // Wired to the shared library's login environment once it is available.
}
