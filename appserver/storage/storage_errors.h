#pragma once
// Failures of the storage the methods react to. A conflict is a transaction
// the database aborted because another one changed what it read
// (serialization failure, deadlock): running it again from the start may
// succeed. A lost connection is one the backend could not use any more.

#include <stdexcept>
#include <string>

namespace storage {

class Conflict : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ConnectionLost : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace storage
