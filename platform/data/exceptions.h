#pragma once
// The failures the module raises. `Exception` carries a message the user may
// see unchanged; `EAbort` is the silent abort that ends an operation after
// its message was already shown, and is never displayed.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

// A failure of the connection itself (refused, dropped, timed out, garbled),
// as opposed to a refusal the server answered.
class ENetError : public Exception {
 public:
  using Exception::Exception;
};
