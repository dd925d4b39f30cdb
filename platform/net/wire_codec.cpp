#include "wire_codec.h"

#include <limits>

#include "net/column_decoder.h"

namespace wire {
namespace {

// The message as its array of parts, once its kind is checked.
Variant::Array Envelope(std::string_view body, MessageKind kind, std::size_t minSize,
                        Variant (*decode)(std::string_view) = DecodeValue) {
  Variant v = decode(body);
  if (!v.isArray() || v.asArray().empty()) throw ProtocolError("Mensagem sem identificação.");
  Variant::Array parts = std::move(v.asArray());
  if (parts[0].kind() != Variant::Kind::Int || parts[0].asInt() != static_cast<std::int64_t>(kind))
    throw ProtocolError("Mensagem de tipo inesperado.");
  if (parts.size() < minSize) throw ProtocolError("Mensagem incompleta.");
  return parts;
}

std::string Text(const Variant& v, const char* what) {
  if (!v.isText()) throw ProtocolError(std::string(what) + " deveria ser texto.");
  return v.asText();
}

bool Flag(const Variant& v, const char* what) {
  if (v.kind() != Variant::Kind::Bool) throw ProtocolError(std::string(what) + " deveria ser lógico.");
  return v.asBool();
}

std::uint64_t Id(const Variant& v) {
  if (v.kind() != Variant::Kind::Int || v.asInt() < 0) throw ProtocolError("Identificador de chamada inválido.");
  return static_cast<std::uint64_t>(v.asInt());
}

void PackText(Packer& pk, std::string_view s) {
  pk.pack_str(static_cast<std::uint32_t>(s.size()));
  pk.pack_str_body(s.data(), static_cast<std::uint32_t>(s.size()));
}

std::string Bytes(const msgpack::sbuffer& b) { return std::string(b.data(), b.size()); }

}  // namespace

void PutFrameLength(char* out, std::uint32_t length) {
  out[0] = static_cast<char>((length >> 24) & 0xFF);
  out[1] = static_cast<char>((length >> 16) & 0xFF);
  out[2] = static_cast<char>((length >> 8) & 0xFF);
  out[3] = static_cast<char>(length & 0xFF);
}

std::uint32_t FrameLength(const char* header) {
  const auto* b = reinterpret_cast<const unsigned char*>(header);
  return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | std::uint32_t(b[3]);
}

std::string EncodeHello(const Hello& m) {
  msgpack::sbuffer buf;
  Packer pk(buf);
  pk.pack_array(2);
  pk.pack_int64(static_cast<std::int64_t>(MessageKind::Hello));
  PackText(pk, m.serverName);
  return Bytes(buf);
}

std::string EncodeHelloReply(const HelloReply& m) {
  msgpack::sbuffer buf;
  Packer pk(buf);
  pk.pack_array(3);
  pk.pack_int64(static_cast<std::int64_t>(MessageKind::HelloReply));
  m.ok ? pk.pack_true() : pk.pack_false();
  PackText(pk, m.message);
  return Bytes(buf);
}

std::string EncodeRequest(const Request& m) {
  msgpack::sbuffer buf;
  Packer pk(buf);
  pk.pack_array(m.key.empty() ? 4 : 5);
  pk.pack_int64(static_cast<std::int64_t>(MessageKind::Request));
  pk.pack_uint64(m.id);
  PackText(pk, m.method);
  pk.pack_array(static_cast<std::uint32_t>(m.args.size()));
  for (const Variant& a : m.args) PackValue(pk, a);
  if (!m.key.empty()) PackText(pk, m.key);
  return Bytes(buf);
}

std::string EncodeResponse(const Response& m) {
  msgpack::sbuffer buf;
  Packer pk(buf);
  if (!m.ok) {
    pk.pack_array(4);
    pk.pack_int64(static_cast<std::int64_t>(MessageKind::Response));
    pk.pack_uint64(m.id);
    pk.pack_false();
    PackText(pk, m.error);
    return Bytes(buf);
  }
  pk.pack_array(5);
  pk.pack_int64(static_cast<std::int64_t>(MessageKind::Response));
  pk.pack_uint64(m.id);
  pk.pack_true();
  PackValue(pk, m.result);
  pk.pack_array(static_cast<std::uint32_t>(m.updates.size()));
  for (const ArgUpdate& u : m.updates) {
    pk.pack_array(2);
    pk.pack_uint32(u.first);
    PackValue(pk, u.second);
  }
  return Bytes(buf);
}

Hello DecodeHello(std::string_view body) {
  Variant::Array parts = Envelope(body, MessageKind::Hello, 2);
  return Hello{Text(parts[1], "Nome do servidor")};
}

HelloReply DecodeHelloReply(std::string_view body) {
  Variant::Array parts = Envelope(body, MessageKind::HelloReply, 3);
  return HelloReply{Flag(parts[1], "Aceite"), Text(parts[2], "Mensagem")};
}

Request DecodeRequest(std::string_view body) {
  Variant::Array parts = Envelope(body, MessageKind::Request, 2);
  Request r;
  r.id = Id(parts[1]);
  try {
    if (parts.size() != 4 && parts.size() != 5) throw ProtocolError("Requisição com tamanho errado.");
    r.method = Text(parts[2], "Nome do método");
    if (!parts[3].isArray()) throw ProtocolError("Argumentos deveriam ser lista.");
    r.args = std::move(parts[3].asArray());
    if (parts.size() == 5) {
      r.key = Text(parts[4], "Chave da requisição");
      if (r.key.empty() || r.key.size() > kMaxRequestKeyBytes)
        throw ProtocolError("Chave da requisição deve ter de 1 a " + std::to_string(kMaxRequestKeyBytes) + " bytes.");
    }
  } catch (const BadRequest&) {
    throw;
  } catch (const ProtocolError& e) {
    throw BadRequest(r.id, e.what());
  }
  return r;
}

std::string_view PeekMethod(std::string_view body) {
  const auto* p = reinterpret_cast<const unsigned char*>(body.data());
  const std::size_t size = body.size();
  std::size_t at = 0;
  const auto take = [&](std::size_t n) {
    const bool ok = n <= size - at;
    at += ok ? n : 0;
    return ok;
  };
  const auto bigEndian = [&](std::size_t from, std::size_t n) {
    std::size_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | p[from + i];
    return v;
  };
  // [2, id, method, args(, key)]: an array of 4 or 5, the kind, an unsigned
  // id, a text.
  const auto fourOrFive = [](std::size_t n) { return n == 4 || n == 5; };
  if (size == 0) return {};
  if (p[0] == 0x94 || p[0] == 0x95) take(1);
  else if (p[0] == 0xdc && size >= 3 && fourOrFive(bigEndian(1, 2))) take(3);
  else if (p[0] == 0xdd && size >= 5 && fourOrFive(bigEndian(1, 4))) take(5);
  else return {};
  if (at >= size || p[at] != static_cast<unsigned char>(MessageKind::Request)) return {};
  take(1);
  if (at >= size) return {};
  const unsigned char id = p[at];
  const std::size_t idBytes = id <= 0x7f ? 1 : id == 0xcc ? 2 : id == 0xcd ? 3 : id == 0xce ? 5 : id == 0xcf ? 9 : 0;
  if (idBytes == 0 || !take(idBytes) || at >= size) return {};
  const unsigned char type = p[at];
  std::size_t length = 0, lengthBytes = 0;
  if (type >= 0xa0 && type <= 0xbf) length = type & 0x1fu;
  else if (type == 0xd9) lengthBytes = 1;
  else if (type == 0xda) lengthBytes = 2;
  else if (type == 0xdb) lengthBytes = 4;
  else return {};
  take(1);
  if (lengthBytes > 0) {
    if (lengthBytes > size - at) return {};
    length = bigEndian(at, lengthBytes);
    take(lengthBytes);
  }
  if (length > size - at) return {};
  return body.substr(at, length);
}

Response DecodeResponse(std::string_view body) {
  // The module loads the answer's packets into datasets: they come as columns.
  Variant::Array parts = Envelope(body, MessageKind::Response, 4, DecodeValueInColumns);
  Response r;
  r.id = Id(parts[1]);
  r.ok = Flag(parts[2], "Sucesso");
  if (!r.ok) {
    if (parts.size() != 4) throw ProtocolError("Resposta com tamanho errado.");
    r.error = Text(parts[3], "Mensagem de erro");
    return r;
  }
  if (parts.size() != 5) throw ProtocolError("Resposta com tamanho errado.");
  r.result = std::move(parts[3]);
  if (!parts[4].isArray()) throw ProtocolError("Argumentos de retorno deveriam ser lista.");
  for (Variant& u : parts[4].asArray()) {
    if (!u.isArray() || u.asArray().size() != 2) throw ProtocolError("Argumento de retorno malformado.");
    Variant::Array& pair = u.asArray();
    if (pair[0].kind() != Variant::Kind::Int || pair[0].asInt() < 0 ||
        pair[0].asInt() > std::numeric_limits<std::uint32_t>::max())
      throw ProtocolError("Posição de argumento inválida.");
    r.updates.emplace_back(static_cast<std::uint32_t>(pair[0].asInt()), std::move(pair[1]));
  }
  return r;
}

std::vector<ArgUpdate> ChangedArgs(const std::vector<Variant>& before, const std::vector<Variant>& after) {
  std::vector<ArgUpdate> out;
  for (std::size_t i = 0; i < after.size() && i < before.size(); ++i)
    if (!(before[i] == after[i])) out.emplace_back(static_cast<std::uint32_t>(i), after[i]);
  return out;
}

}  // namespace wire
