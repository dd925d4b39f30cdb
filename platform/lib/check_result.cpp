#include "data/exceptions.h"
#include "lib/consiste.h"

namespace {

const char* const kRespostaInvalida = "Resposta inválida do servidor de aplicação.";

}  // namespace

Variant CheckResultServ(const Variant& result, [[maybe_unused]] bool flag, [[maybe_unused]] int n) {
  if (!result.isArray()) throw Exception(kRespostaInvalida);
  const Variant::Array& parts = result.asArray();
  if (parts.size() != 2 || parts[0].kind() != Variant::Kind::Bool) throw Exception(kRespostaInvalida);
  if (parts[0].asBool()) return parts[1];

  const Variant& message = parts[1];
  if (message.isArray() || message.isPacket()) throw Exception(kRespostaInvalida);
  std::string text = message.asText();
  // A refusal must never read as silence: an empty message still says what failed.
  if (text.empty()) text = "O servidor de aplicação recusou a operação.";
  throw Exception(text);
}
