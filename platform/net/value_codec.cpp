#include "value_codec.h"

#include <bit>
#include <cstring>
#include <limits>

#include "data/packet.h"

namespace wire {
namespace {

void PackDate(Packer& pk, DateTime d) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(d.days);
  char be[8];
  for (int i = 7; i >= 0; --i) {
    be[i] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
  pk.pack_ext(sizeof be, kDateExtType);
  pk.pack_ext_body(be, sizeof be);
}

void PackText(Packer& pk, std::string_view s) {
  pk.pack_str(static_cast<std::uint32_t>(s.size()));
  pk.pack_str_body(s.data(), static_cast<std::uint32_t>(s.size()));
}

void PackPacket(Packer& pk, const DataPacket& p) {
  pk.pack_map(2);
  PackText(pk, "fields");
  pk.pack_array(static_cast<std::uint32_t>(p.fields.size()));
  for (const FieldDef& f : p.fields) {
    pk.pack_array(3);
    PackText(pk, f.name);
    PackText(pk, FieldTypeName(f.type));
    pk.pack_int(f.size);
  }
  PackText(pk, "rows");
  pk.pack_array(static_cast<std::uint32_t>(p.rows.size()));
  for (const DataPacket::Row& row : p.rows) {
    pk.pack_array(static_cast<std::uint32_t>(row.size()));
    for (const Variant& cell : row) PackValue(pk, cell);
  }
}

std::string_view Text(const msgpack::object& o, const char* what) {
  if (o.type != msgpack::type::STR) throw ProtocolError(std::string(what) + " deveria ser texto.");
  return {o.via.str.ptr, o.via.str.size};
}

std::int64_t Integer(const msgpack::object& o, const char* what) {
  if (o.type == msgpack::type::POSITIVE_INTEGER && o.via.u64 <= std::uint64_t(std::numeric_limits<std::int64_t>::max()))
    return static_cast<std::int64_t>(o.via.u64);
  if (o.type == msgpack::type::NEGATIVE_INTEGER) return o.via.i64;
  throw ProtocolError(std::string(what) + " deveria ser inteiro.");
}

const msgpack::object_array& Array(const msgpack::object& o, const char* what) {
  if (o.type != msgpack::type::ARRAY) throw ProtocolError(std::string(what) + " deveria ser lista.");
  return o.via.array;
}

FieldDef FieldFromObject(const msgpack::object& o) {
  const auto& a = Array(o, "Definição de campo");
  if (a.size != 3) throw ProtocolError("Definição de campo com tamanho errado.");
  FieldDef f;
  f.name = std::string(Text(a.ptr[0], "Nome de campo"));
  try {
    f.type = FieldTypeFromName(Text(a.ptr[1], "Tipo de campo"));
  } catch (const ProtocolError&) {
    throw;
  } catch (const std::exception& e) {
    throw ProtocolError(e.what());
  }
  std::int64_t size = Integer(a.ptr[2], "Tamanho de campo");
  if (size < 0 || size > std::numeric_limits<int>::max()) throw ProtocolError("Tamanho de campo inválido.");
  f.size = static_cast<int>(size);
  return f;
}

Variant PacketFromObject(const msgpack::object& o) {
  const msgpack::object* fields = nullptr;
  const msgpack::object* rows = nullptr;
  for (std::uint32_t i = 0; i < o.via.map.size; ++i) {
    const msgpack::object_kv& kv = o.via.map.ptr[i];
    std::string_view key = Text(kv.key, "Chave de pacote");
    if (key == "fields") fields = &kv.val;
    else if (key == "rows") rows = &kv.val;
    else throw ProtocolError("Chave de pacote desconhecida.");
  }
  if (!fields || !rows) throw ProtocolError("Pacote sem campos ou sem linhas.");

  DataPacket p;
  const auto& fa = Array(*fields, "Campos do pacote");
  p.fields.reserve(fa.size);
  for (std::uint32_t i = 0; i < fa.size; ++i) p.fields.push_back(FieldFromObject(fa.ptr[i]));

  const auto& ra = Array(*rows, "Linhas do pacote");
  p.rows.resize(ra.size);
  for (std::uint32_t r = 0; r < ra.size; ++r) {
    const auto& cells = Array(ra.ptr[r], "Linha do pacote");
    if (cells.size != p.fields.size()) throw ProtocolError("Linha do pacote com número errado de valores.");
    DataPacket::Row& row = p.rows[r];
    row.reserve(cells.size);
    for (std::uint32_t c = 0; c < cells.size; ++c) row.push_back(ValueFromObject(cells.ptr[c]));
  }
  return Variant(std::move(p));
}

Variant DateFromObject(const msgpack::object& o) {
  if (o.via.ext.type() != kDateExtType || o.via.ext.size != 8) throw ProtocolError("Tipo estendido desconhecido.");
  const auto* b = reinterpret_cast<const unsigned char*>(o.via.ext.data());
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | b[i];
  return Variant(DateTime{std::bit_cast<double>(bits)});
}

bool ReferenceEverything(msgpack::type::object_type, std::size_t, void*) { return true; }

}  // namespace

void PackValue(Packer& pk, const Variant& v) {
  switch (v.kind()) {
    case Variant::Kind::Null: pk.pack_nil(); return;
    case Variant::Kind::Bool: v.asBool() ? pk.pack_true() : pk.pack_false(); return;
    case Variant::Kind::Int: pk.pack_int64(v.asInt()); return;
    case Variant::Kind::Double: pk.pack_double(v.asDouble()); return;
    case Variant::Kind::Text: {
      const std::string s = v.asText();
      PackText(pk, s);
      return;
    }
    case Variant::Kind::Date: PackDate(pk, v.asDate()); return;
    case Variant::Kind::Array: {
      const Variant::Array& a = v.asArray();
      pk.pack_array(static_cast<std::uint32_t>(a.size()));
      for (const Variant& e : a) PackValue(pk, e);
      return;
    }
    case Variant::Kind::Packet: PackPacket(pk, v.asPacket()); return;
  }
}

Variant ValueFromObject(const msgpack::object& o) {
  switch (o.type) {
    case msgpack::type::NIL: return Variant();
    case msgpack::type::BOOLEAN: return Variant(o.via.boolean);
    case msgpack::type::POSITIVE_INTEGER:
    case msgpack::type::NEGATIVE_INTEGER: return Variant(Integer(o, "Valor"));
    case msgpack::type::FLOAT32:
    case msgpack::type::FLOAT64: return Variant(o.via.f64);
    case msgpack::type::STR: return Variant(std::string(o.via.str.ptr, o.via.str.size));
    case msgpack::type::ARRAY: {
      Variant::Array a;
      a.reserve(o.via.array.size);
      for (std::uint32_t i = 0; i < o.via.array.size; ++i) a.push_back(ValueFromObject(o.via.array.ptr[i]));
      return Variant(std::move(a));
    }
    case msgpack::type::MAP: return PacketFromObject(o);
    case msgpack::type::EXT: return DateFromObject(o);
    default: throw ProtocolError("Valor de tipo não suportado.");
  }
}

msgpack::object_handle ParseBody(std::string_view body) {
  // Every element takes at least one byte, so no honest count exceeds the size.
  const std::size_t n = body.size();
  msgpack::unpack_limit limit(n, n, n, n, n, kMaxNesting);
  std::size_t off = 0;
  msgpack::object_handle h;
  try {
    h = msgpack::unpack(body.data(), n, off, ReferenceEverything, nullptr, limit);
  } catch (const std::exception& e) {
    throw ProtocolError(std::string("Mensagem malformada: ") + e.what());
  }
  if (off != n) throw ProtocolError("Mensagem com bytes a mais.");
  return h;
}

std::string EncodeValue(const Variant& v) {
  msgpack::sbuffer buf;
  Packer pk(buf);
  PackValue(pk, v);
  return std::string(buf.data(), buf.size());
}

Variant DecodeValue(std::string_view bytes) {
  msgpack::object_handle h = ParseBody(bytes);
  return ValueFromObject(h.get());
}

}  // namespace wire
