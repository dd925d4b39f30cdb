#include "methods/applied_requests.h"

#include <stdexcept>

#include "net/printable_text.h"
#include "net/value_codec.h"
#include "storage/database.h"
#include "storage/statement.h"

namespace {

// The answer as text, so one column type serves both backends: MessagePack
// of [result, [args...]] in hexadecimal, or [result, [args...], [i...]]
// when some argument is the result itself (a by-reference packet a method
// also answers): each i names one, kept once as the result and nil among the
// arguments. Other answers keep the two-part form every server reads. A run
// recorded without its answer (RecordRun) is the empty text.
std::string Encode(const RecordedAnswer& answer) {
  Variant::Array args = answer.args, sameAsResult;
  for (std::size_t i = 0; i < args.size(); ++i)
    if (args[i].isPacket() && answer.result.isPacket() && &args[i].asPacket() == &answer.result.asPacket()) {
      args[i] = Variant();
      sameAsResult.push_back(Variant(static_cast<std::int64_t>(i)));
    }
  const std::string bytes =
      sameAsResult.empty()
          ? wire::EncodeValue(MakeArray({answer.result, Variant(std::move(args))}))
          : wire::EncodeValue(MakeArray({answer.result, Variant(std::move(args)), Variant(std::move(sameAsResult))}));
  static const char* const kDigits = "0123456789abcdef";
  // Written in place: a whole budget's answer is megabytes of digits.
  std::string hex(bytes.size() * 2, '\0');
  char* out = hex.data();
  for (const unsigned char c : bytes) {
    *out++ = kDigits[c >> 4];
    *out++ = kDigits[c & 15];
  }
  return hex;
}

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  throw std::runtime_error("Resposta registrada ilegível.");
}

RecordedAnswer Decode(const std::string& hex) {
  const std::runtime_error unreadable("Resposta registrada ilegível.");
  // A run recorded without its answer (RecordRun).
  if (hex.empty()) return {Variant(), {}, true};
  if (hex.size() % 2 != 0) throw unreadable;
  std::string bytes(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(Nibble(hex[2 * i]) << 4 | Nibble(hex[2 * i + 1]));
  Variant parts = wire::DecodeValue(bytes);
  if (!parts.isArray()) throw unreadable;
  Variant::Array& whole = parts.asArray();
  if ((whole.size() != 2 && whole.size() != 3) || !whole[1].isArray() || (whole.size() == 3 && !whole[2].isArray()))
    throw unreadable;
  RecordedAnswer answer{std::move(whole[0]), std::move(whole[1].asArray())};
  if (whole.size() == 3)
    for (const Variant& index : whole[2].asArray()) {
      const std::int64_t i = index.kind() == Variant::Kind::Int ? index.asInt() : -1;
      if (i < 0 || static_cast<std::size_t>(i) >= answer.args.size()) throw unreadable;
      answer.args[static_cast<std::size_t>(i)] = answer.result;
    }
  return answer;
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

namespace {

void Record(Database& db, const RequestKey& request, const std::string& answer, std::int64_t nowSeconds) {
  db.prepare("INSERT INTO REQUISICAOAPLICADA (CDREQUISICAO, CDOPERADOR, NMMETODO, DSRESPOSTA, NRSEGUNDOSUTC)"
             " VALUES (?1, ?2, ?3, ?4, ?5)")
      .bindAll(request.key, request.operatorCode, request.method, answer, nowSeconds)
      .run();
}

}  // namespace

void RecordAnswer(Database& db, const RequestKey& request, const RecordedAnswer& answer, std::int64_t nowSeconds) {
  Record(db, request, Encode(answer), nowSeconds);
}

// An empty answer: no encoded answer is empty, as it holds at least its array.
void RecordRun(Database& db, const RequestKey& request, std::int64_t nowSeconds) { Record(db, request, "", nowSeconds); }

void PruneRecordedAnswers(Database& db, std::int64_t nowSeconds) {
  db.prepare("DELETE FROM REQUISICAOAPLICADA WHERE NRSEGUNDOSUTC < ?1")
      .bind(1, nowSeconds - kRequestKeyLifetimeSeconds)
      .run();
}
