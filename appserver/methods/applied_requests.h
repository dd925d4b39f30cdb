#pragma once
// Writes applied once. A client sends a request key with each user action
// and keeps it across its retries; a change's answer is recorded under its
// key in the change's own transaction, so a retry of the key, on this server
// or another sharing the database, is answered the same and changes nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/variant.h"

class Database;

// Who asked what under a key.
struct RequestKey {
  std::string key;
  std::string operatorCode;
  std::string method;
};

// How long a key is remembered. A client retries within a minute or two; a
// day leaves room for a server down over night without keeping keys forever.
inline constexpr std::int64_t kRequestKeyLifetimeSeconds = 24 * 60 * 60;


// What a writing call answered: its result, and its arguments as they left
// it (the by-reference ones written back).
struct RecordedAnswer {
  Variant result;
  std::vector<Variant> args;
  // Only the run was recorded (RecordRun): the method answers a retry by
  // reading again, and result and args are empty.
  bool ranOnly = false;
};

// The answer recorded under the request's key, if any. A key recorded for
// another operator or another method is refused: keys are not shared.
std::optional<RecordedAnswer> FindRecordedAnswer(Database& db, const RequestKey& request);
void RecordAnswer(Database& db, const RequestKey& request, const RecordedAnswer& answer, std::int64_t nowSeconds);
// Records that the request's change ran, without its answer: for a change a
// second run would find made, whose answer a retry reads again.
void RecordRun(Database& db, const RequestKey& request, std::int64_t nowSeconds);
// Forgets the keys recorded more than kRequestKeyLifetimeSeconds before `nowSeconds`.
void PruneRecordedAnswers(Database& db, std::int64_t nowSeconds);
