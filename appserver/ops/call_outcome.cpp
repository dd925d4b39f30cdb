#include "ops/call_outcome.h"

#include <stdexcept>
#include <string_view>
#include <typeinfo>

#include "storage/storage_errors.h"

ServerMetrics::CallOutcome OutcomeOfFailure(const std::exception& failure) {
  using Outcome = ServerMetrics::CallOutcome;
  if (dynamic_cast<const storage::ConnectionLost*>(&failure) || dynamic_cast<const storage::Conflict*>(&failure))
    return Outcome::kError;
  // Refusals are plain runtime errors with the operator's text; the storage
  // words its own failures, and anything of another type is a fault.
  if (typeid(failure) != typeid(std::runtime_error)) return Outcome::kError;
  const std::string_view text = failure.what();
  return text.starts_with("Erro no banco de dados") ? Outcome::kError : Outcome::kRefused;
}
