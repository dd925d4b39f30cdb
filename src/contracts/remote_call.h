#pragma once
// One remote call as every wrapper makes it: by name on the connection, the
// raw result passed through CheckResultServ, so a refusal raises Exception
// with the server's text and only a success returns. Calls are made from the
// declarations in protocol/distrato_methods.h, which the server shares.

#include <string>
#include <vector>

#include "data/variant.h"
#include "protocol/method_declaration.h"

class TNetConnection;

namespace contracts {

// The checked payload of `method` called with `args`; the arguments the
// server changed are written back into `args`.
Variant CallChecked(TNetConnection& net, const std::string& method, std::vector<Variant>& args);

// The checked payload of a declared call; its by-reference arguments come
// back into `call` as the server left them.
template <class Method>
Variant Call(TNetConnection& net, Method& call) {
  std::vector<Variant> args = protocol::Encode(call);
  Variant payload = CallChecked(net, std::string(Method::kName), args);
  protocol::ReadBack(call, args);
  return payload;
}
template <class Method>
Variant Call(TNetConnection& net, const Method& call) {
  Method copy = call;
  return Call(net, copy);
}

// A payload that answers yes or no; an empty one is no.
bool Flag(const Variant& payload);

// Element `index` of an array payload; a payload of another shape raises
// Exception naming the method, instead of reading past what the server sent.
const Variant& Element(const Variant& payload, std::size_t index, std::string_view method);

}  // namespace contracts
