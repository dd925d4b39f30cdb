#include "wire_codec.h"

#include <limits>

namespace wire {
namespace {

const msgpack::object_array& Envelope(const msgpack::object& o, MessageKind kind, std::uint32_t minSize) {
  if (o.type != msgpack::type::ARRAY || o.via.array.size < 1)
    throw ProtocolError("Mensagem sem identificação.");
  const msgpack::object& tag = o.via.array.ptr[0];
  if (tag.type != msgpack::type::POSITIVE_INTEGER || tag.via.u64 != static_cast<std::uint64_t>(kind))
    throw ProtocolError("Mensagem de tipo inesperado.");
  if (o.via.array.size < minSize) throw ProtocolError("Mensagem incompleta.");
  return o.via.array;
}

std::string Text(const msgpack::object& o, const char* what) {
  if (o.type != msgpack::type::STR) throw ProtocolError(std::string(what) + " deveria ser texto.");
  return std::string(o.via.str.ptr, o.via.str.size);
}

bool Flag(const msgpack::object& o, const char* what) {
  if (o.type != msgpack::type::BOOLEAN) throw ProtocolError(std::string(what) + " deveria ser lógico.");
  return o.via.boolean;
}

std::uint64_t Id(const msgpack::object& o) {
  if (o.type != msgpack::type::POSITIVE_INTEGER) throw ProtocolError("Identificador de chamada inválido.");
  return o.via.u64;
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
  pk.pack_array(4);
  pk.pack_int64(static_cast<std::int64_t>(MessageKind::Request));
  pk.pack_uint64(m.id);
  PackText(pk, m.method);
  pk.pack_array(static_cast<std::uint32_t>(m.args.size()));
  for (const Variant& a : m.args) PackValue(pk, a);
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
  msgpack::object_handle h = ParseBody(body);
  const auto& a = Envelope(h.get(), MessageKind::Hello, 2);
  return Hello{Text(a.ptr[1], "Nome do servidor")};
}

HelloReply DecodeHelloReply(std::string_view body) {
  msgpack::object_handle h = ParseBody(body);
  const auto& a = Envelope(h.get(), MessageKind::HelloReply, 3);
  return HelloReply{Flag(a.ptr[1], "Aceite"), Text(a.ptr[2], "Mensagem")};
}

Request DecodeRequest(std::string_view body) {
  msgpack::object_handle h = ParseBody(body);
  const auto& a = Envelope(h.get(), MessageKind::Request, 2);
  Request r;
  r.id = Id(a.ptr[1]);
  try {
    if (a.size != 4) throw ProtocolError("Requisição com tamanho errado.");
    r.method = Text(a.ptr[2], "Nome do método");
    if (a.ptr[3].type != msgpack::type::ARRAY) throw ProtocolError("Argumentos deveriam ser lista.");
    const auto& args = a.ptr[3].via.array;
    r.args.reserve(args.size);
    for (std::uint32_t i = 0; i < args.size; ++i) r.args.push_back(ValueFromObject(args.ptr[i]));
  } catch (const ProtocolError& e) {
    throw BadRequest(r.id, e.what());
  }
  return r;
}

Response DecodeResponse(std::string_view body) {
  msgpack::object_handle h = ParseBody(body);
  const auto& a = Envelope(h.get(), MessageKind::Response, 4);
  Response r;
  r.id = Id(a.ptr[1]);
  r.ok = Flag(a.ptr[2], "Sucesso");
  if (!r.ok) {
    if (a.size != 4) throw ProtocolError("Resposta com tamanho errado.");
    r.error = Text(a.ptr[3], "Mensagem de erro");
    return r;
  }
  if (a.size != 5) throw ProtocolError("Resposta com tamanho errado.");
  r.result = ValueFromObject(a.ptr[3]);
  if (a.ptr[4].type != msgpack::type::ARRAY) throw ProtocolError("Argumentos de retorno deveriam ser lista.");
  const auto& ups = a.ptr[4].via.array;
  r.updates.reserve(ups.size);
  for (std::uint32_t i = 0; i < ups.size; ++i) {
    const msgpack::object& u = ups.ptr[i];
    if (u.type != msgpack::type::ARRAY || u.via.array.size != 2) throw ProtocolError("Argumento de retorno malformado.");
    const msgpack::object& pos = u.via.array.ptr[0];
    if (pos.type != msgpack::type::POSITIVE_INTEGER || pos.via.u64 > std::numeric_limits<std::uint32_t>::max())
      throw ProtocolError("Posição de argumento inválida.");
    r.updates.emplace_back(static_cast<std::uint32_t>(pos.via.u64), ValueFromObject(u.via.array.ptr[1]));
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
