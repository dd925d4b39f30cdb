#pragma once
// Remote methods by name. Each method declares how many arguments it takes
// and of which kind; a call is checked against that before its handler runs,
// so handlers read their arguments without re-checking them.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/variant.h"

enum class ArgKind {
  Text,     // a code or value as text; null and integers are accepted as their text
  Number,   // a double; integers and numeric texts are accepted
  Date,     // a date-time; numbers are accepted as days
  Any,      // packet, array or scalar
};

// The checked arguments of one call.
class CallArgs {
 public:
  explicit CallArgs(std::vector<Variant>& values) : values_(values) {}
  std::size_t size() const { return values_.size(); }
  std::string text(std::size_t i) const;
  double number(std::size_t i) const;
  // The argument as sent; a by-reference argument is written back here.
  Variant& raw(std::size_t i) { return values_.at(i); }

 private:
  std::vector<Variant>& values_;
};

using MethodHandler = std::function<Variant(CallArgs&)>;

struct MethodSpec {
  std::string name;
  std::vector<ArgKind> args;
  MethodHandler handler;
};

class Dispatcher {
 public:
  // Throws when a method of that name is already registered.
  void add(MethodSpec spec);
  bool has(const std::string& name) const;
  std::vector<std::string> names() const;

  // Checks the method name and the arguments, then runs the handler. Every
  // refusal is a std::runtime_error with a Portuguese message.
  Variant call(const std::string& method, std::vector<Variant>& args) const;

 private:
  std::map<std::string, MethodSpec> methods_;
};

const char* ArgKindName(ArgKind kind);
