#include "methods/applied_requests.h"

#include <stdexcept>

#include "net/printable_text.h"
#include "net/value_codec.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

// The answer as text, so one column type serves both backends: MessagePack
// of [result, [args...]] in hexadecimal.
std::string Encode(const RecordedAnswer& answer) {
  const std::string bytes = wire::EncodeValue(MakeArray({answer.result, Variant(Variant::Array(answer.args))}));
  static const char* const kDigits = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const unsigned char c : bytes) {
    hex.push_back(kDigits[c >> 4]);
    hex.push_back(kDigits[c & 15]);
  }
  return hex;
}

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  throw std::runtime_error("Resposta registrada ilegível.");
}

RecordedAnswer Decode(const std::string& hex) {
  if (hex.size() % 2 != 0) throw std::runtime_error("Resposta registrada ilegível.");
  std::string bytes(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(Nibble(hex[2 * i]) << 4 | Nibble(hex[2 * i + 1]));
  Variant parts = wire::DecodeValue(bytes);
  if (!parts.isArray() || parts.asArray().size() != 2 || !parts.asArray()[1].isArray())
    throw std::runtime_error("Resposta registrada ilegível.");
  return {std::move(parts.asArray()[0]), std::move(parts.asArray()[1].asArray())};
}

}  // namespace


std::optional<RecordedAnswer> FindRecordedAnswer(Database& db, const RequestKey& request) {
  Statement find = db.prepare("SELECT CDOPERADOR, NMMETODO, DSRESPOSTA FROM REQUISICAOAPLICADA WHERE CDREQUISICAO = ?1");
  find.bind(1, request.key);
  if (!find.step()) return std::nullopt;
  if (find.text(0) != request.operatorCode || find.text(1) != request.method)
    throw std::runtime_error("A chave de requisição " + PrintableText(request.key) +
                             " já foi usada por outro operador ou em outro método. Operação bloqueada.");
  return Decode(find.text(2));
}

void RecordAnswer(Database& db, const RequestKey& request, const RecordedAnswer& answer, std::int64_t nowSeconds) {
  db.prepare("INSERT INTO REQUISICAOAPLICADA (CDREQUISICAO, CDOPERADOR, NMMETODO, DSRESPOSTA, NRSEGUNDOSUTC)"
             " VALUES (?1, ?2, ?3, ?4, ?5)")
      .bindAll(request.key, request.operatorCode, request.method, Encode(answer), nowSeconds)
      .run();
}

void PruneRecordedAnswers(Database& db, std::int64_t nowSeconds) {
  db.prepare("DELETE FROM REQUISICAOAPLICADA WHERE NRSEGUNDOSUTC < ?1")
      .bind(1, nowSeconds - kRequestKeyLifetimeSeconds)
      .run();
}
