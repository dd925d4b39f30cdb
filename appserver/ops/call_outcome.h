#pragma once
// How a remote call ended, for the metrics: answered, refused by a business
// rule (what the operator is told and can act on), or failed (the database
// or the server itself).

#include <exception>

#include "ops/server_metrics.h"

// The outcome of a call whose handler threw `failure`.
ServerMetrics::CallOutcome OutcomeOfFailure(const std::exception& failure);
