#include "ops/call_outcome.h"

#include "storage/storage_errors.h"

ServerMetrics::CallOutcome OutcomeOfFailure(const std::exception& failure) {
  using Outcome = ServerMetrics::CallOutcome;
  // A busy database words its own answer but is the server failing to serve.
  if (dynamic_cast<const storage::Busy*>(&failure)) return Outcome::kError;
  return dynamic_cast<const Refusal*>(&failure) ? Outcome::kRefused : Outcome::kError;
}
