#pragma once
// One remote call as every wrapper makes it: by name on the connection, the
// raw result passed through CheckResultServ, so a refusal raises Exception
// with the server's text and only a success returns.

#include <string>
#include <vector>

#include "data/variant.h"

class TNetConnection;

namespace contracts {

// The checked payload of `method` called with `args`.
Variant CallChecked(TNetConnection& net, const std::string& method, std::vector<Variant> args);

// Element `index` of an array payload; a payload of another shape raises
// Exception naming the method, instead of reading past what the server sent.
const Variant& Element(const Variant& payload, std::size_t index, const std::string& method);

}  // namespace contracts
