#pragma once
// A call the server answers "no" to for a reason the operator can read and
// act on: a business rule, a bad argument, a busy database. Its text goes to
// the client as it stands. Anything else a handler throws is a fault: the
// server logs its detail and answers with FaultAnswer's text, so SQL,
// table names and library messages never reach the screen.

#include <cstdint>
#include <stdexcept>
#include <string>

class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text a client gets for a fault; `incident` is the number the server's
// log gives the fault, so support can find the detail.
std::string FaultAnswer(std::uint64_t incident);
