#include "contracts/statement_methods.h"

#include "contracts/remote_call.h"
#include "data/exceptions.h"

namespace contracts {

namespace {

const DataPacket& PacketElement(const Variant& payload, std::size_t index, std::string_view method) {
  const Variant& element = Element(payload, index, method);
  if (!element.isPacket()) throw Exception(std::string(method) + ": resposta inesperada do servidor.");
  return element.asPacket();
}

}  // namespace

TermoDistrato GetTermoDistrato(TNetConnection& net, const protocol::GetTermoDistrato& call) {
  const Variant payload = Call(net, call);
  return {PacketElement(payload, 0, call.kName), PacketElement(payload, 1, call.kName),
          PacketElement(payload, 2, call.kName), PacketElement(payload, 3, call.kName)};
}

Variant GetDistratosDesfeitos(TNetConnection& net, const protocol::GetDistratosDesfeitos& call) {
  return Call(net, call);
}

}  // namespace contracts
