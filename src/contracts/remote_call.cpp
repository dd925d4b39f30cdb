#include "contracts/remote_call.h"

#include "data/exceptions.h"
#include "lib/consiste.h"
#include "net/net_connection.h"

namespace contracts {

Variant CallChecked(TNetConnection& net, const std::string& method, std::vector<Variant>& args) {
  return CheckResultServ(net.Call(method, args), true, 0);
}

bool Flag(const Variant& payload) { return !payload.isNull() && payload.asBool(); }

const Variant& Element(const Variant& payload, std::size_t index, std::string_view method) {
  if (!payload.isArray() || payload.asArray().size() <= index)
    throw Exception("Resposta inválida do servidor de aplicação em " + std::string(method) + ".");
  return payload.asArray()[index];
}

}  // namespace contracts
