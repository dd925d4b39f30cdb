#pragma once
// Failures of the storage the methods react to. A conflict is a transaction
// the database aborted because another one changed what it read
// (serialization failure, deadlock): running it again from the start may
// succeed. A lost connection is one the backend could not use any more. A
// busy database is one another program kept locked for longer than the
// server waits (kBusyWaitSeconds); its message is the user's, so it is a
// Refusal.

#include <stdexcept>
#include <string>

#include "net/refusal.h"

namespace storage {

class Conflict : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kBusyWaitSeconds = 10;

inline constexpr const char* kDatabaseLockedMessage =
    "O banco de dados está bloqueado por outra operação há mais de 10 segundos; tente novamente em instantes.";

class Busy : public Refusal {
 public:
  Busy() : Refusal(kDatabaseLockedMessage) {}
};

class ConnectionLost : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace storage
