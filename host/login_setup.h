#pragma once
// Hands the login environment (branch, operator, date, server) to the shared
// client library, where the module reads it.

#include "host_options.h"

void applyLoginEnvironment(const HostOptions& options);
