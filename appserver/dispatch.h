#pragma once
// Remote methods by name. Each method declares how many arguments it takes
// and of which kind; a call is checked against that before its handler runs,
// so handlers read their arguments without re-checking them.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/variant.h"
#include "protocol/method_declaration.h"

// What one argument travels as; shared with the client's declarations.
using ArgKind = protocol::ArgKind;

class CallerSession;
struct RequestKey;

// Who makes a call: the session it runs on (a connection's, or one the server
// keeps for its own in-process callers) and the key its change is applied
// once under. Handed to every handler; nothing about the caller is ambient.
struct CallContext {
  CallerSession* caller = nullptr;     // null only when a Dispatcher is driven alone
  const RequestKey* request = nullptr;  // null: the call carries no key
};

// The checked arguments of one call.
class CallArgs {
 public:
  CallArgs(std::vector<Variant>& values, const CallContext& context) : values_(values), context_(context) {}
  std::size_t size() const { return values_.size(); }
  std::string text(std::size_t i) const;
  double number(std::size_t i) const;
  // The argument as sent; a by-reference argument is written back here.
  Variant& raw(std::size_t i) { return values_.at(i); }
  std::vector<Variant>& values() { return values_; }
  const CallContext& context() const { return context_; }

 private:
  std::vector<Variant>& values_;
  const CallContext& context_;
};

using MethodHandler = std::function<Variant(CallArgs&)>;

struct MethodSpec {
  std::string name;
  std::vector<ArgKind> args;
  MethodHandler handler;
  int callerOperator = -1;  // position of the caller's operator argument; -1: none
  // Arguments a caller must send; the rest may be left out and arrive as
  // null. Every declared argument when not given.
  std::size_t required = static_cast<std::size_t>(-1);
};

// Runs after a call's arguments were checked and before its handler: throws
// to refuse the call (who may call what).
using CallGuard = std::function<void(const MethodSpec& spec, const std::vector<Variant>& args)>;

class Dispatcher {
 public:
  // Throws when a method of that name is already registered.
  void add(MethodSpec spec);
  bool has(const std::string& name) const;
  std::vector<std::string> names() const;
  // The argument kinds a method was registered with; throws for an unknown name.
  const std::vector<ArgKind>& kinds(const std::string& name) const;

  // Checks the method name and the arguments, then runs the handler on
  // `context`, with `guard` (when given) deciding between the checks and the
  // handler. Every refusal is a Refusal with a Portuguese message.
  Variant call(const std::string& method, std::vector<Variant>& args, const CallContext& context = {},
               const CallGuard& guard = {}) const;
  // The declaration a method was registered with; null for an unknown name.
  const MethodSpec* find(const std::string& name) const;

 private:
  std::map<std::string, MethodSpec> methods_;
};

const char* ArgKindName(ArgKind kind);

// The registration of a declared method (protocol/method_declaration.h):
// name and argument kinds come from the declaration; the handler receives the
// checked arguments by name and the call's context, and the by-reference
// arguments it changes go back to the caller.
template <class M>
MethodSpec DeclaredMethod(std::function<Variant(M&, const CallContext&)> handler) {
  std::vector<ArgKind> kinds;
  for (const protocol::ArgInfo& arg : protocol::Describe<M>()) kinds.push_back(arg.kind);
  return {std::string(M::kName), std::move(kinds),
          [handler = std::move(handler)](CallArgs& args) {
            M call = protocol::Decode<M>(args.values());
            Variant result = handler(call, args.context());
            protocol::WriteBack(call, args.values());
            return result;
          },
          protocol::CallerOperatorIndex<M>(), protocol::RequiredArgCount<M>()};
}

// The same for a handler that needs nothing of the caller.
template <class M>
MethodSpec DeclaredMethod(std::function<Variant(M&)> handler) {
  return DeclaredMethod<M>(
      std::function<Variant(M&, const CallContext&)>([handler = std::move(handler)](M& call, const CallContext&) {
        return handler(call);
      }));
}
