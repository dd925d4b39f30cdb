#include "value_codec.h"

#include <bit>
#include <cstring>
#include <limits>
#include <memory>

#include "data/packet.h"
#include "data/record_store.h"

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

// Rows still in the columns a decoder filled, packed straight from them as
// their cells would pack (PacketRows::BuildCells): resending a packet as it
// came builds no cell.
void PackColumns(Packer& pk, const RecordStore& store) {
  const std::size_t width = store.FieldCount();
  for (RecordStore::Id id : store.Order()) {
    pk.pack_array(static_cast<std::uint32_t>(width));
    for (std::size_t f = 0; f < width; ++f) {
      if (store.IsNull(id, f)) {
        pk.pack_nil();
        continue;
      }
      if (store.HoldsText(f)) {
        PackText(pk, store.Text(id, f));
        continue;
      }
      const double n = store.Number(id, f);
      switch (store.Type(f)) {
        case FieldType::Integer: pk.pack_int64(static_cast<std::int64_t>(n)); break;
        case FieldType::DateTime: PackDate(pk, DateTime{n}); break;
        case FieldType::Boolean: n != 0 ? pk.pack_true() : pk.pack_false(); break;
        // msgpack packs a whole number as an integer, as the cell would go.
        default: pk.pack_double(n);
      }
    }
  }
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
  if (const RecordStore* columns = p.rows.Columns()) {
    PackColumns(pk, *columns);
    return;
  }
  for (PacketRows::ConstRowRef row : p.rows) {
    pk.pack_array(static_cast<std::uint32_t>(row.size()));
    for (const Variant& cell : row) PackValue(pk, cell);
  }
}

std::string TextOf(const Variant& v, const char* what) {
  if (!v.isText()) throw ProtocolError(std::string(what) + " deveria ser texto.");
  return v.asText();
}

FieldDef FieldFromVariant(const Variant& v) {
  if (!v.isArray() || v.asArray().size() != 3) throw ProtocolError("Definição de campo malformada.");
  const Variant::Array& a = v.asArray();
  FieldDef f;
  f.name = TextOf(a[0], "Nome de campo");
  try {
    f.type = FieldTypeFromName(TextOf(a[1], "Tipo de campo"));
  } catch (const ProtocolError&) {
    throw;
  } catch (const std::exception& e) {
    throw ProtocolError(e.what());
  }
  if (a[2].kind() != Variant::Kind::Int || a[2].asInt() < 0 || a[2].asInt() > std::numeric_limits<int>::max())
    throw ProtocolError("Tamanho de campo inválido.");
  f.size = static_cast<int>(a[2].asInt());
  return f;
}

// A map is a packet: "fields" and "rows", in any order. Its rows were
// decoded straight into `rowList`, which stands at `rowsAt` among the pairs.
DataPacket PacketFromPairs(const Variant::Array& pairs, PacketRows* rowList, std::size_t rowsAt) {
  const Variant* fields = nullptr;
  bool rows = false;
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
    std::string key = TextOf(pairs[i], "Chave de pacote");
    if (key == "fields") fields = &pairs[i + 1];
    else if (key == "rows") rows = rowList && rowsAt == i + 1;
    else throw ProtocolError("Chave de pacote desconhecida.");
  }
  if (!fields || !rows || !fields->isArray()) throw ProtocolError("Pacote sem campos ou sem linhas.");
  DataPacket p;
  p.fields.reserve(fields->asArray().size());
  for (const Variant& f : fields->asArray()) p.fields.push_back(FieldFromVariant(f));
  if (!rowList->empty() && rowList->width() != p.fields.size())
    throw ProtocolError("Linha do pacote com número errado de valores.");
  p.rows = std::move(*rowList);
  return p;
}

// Builds Variants straight from the MessagePack events, with no object tree
// in between; a packet's cells go straight into its rows' blocks, so a large
// packet costs no vector per row.
class VariantBuilder : public msgpack::null_visitor {
 public:
  explicit VariantBuilder(std::size_t bodyBytes) : unclaimed_(bodyBytes) {}

  Variant take() { return std::move(result_); }

  bool visit_nil() { return put(); }
  bool visit_boolean(bool v) { return put(v); }
  bool visit_positive_integer(std::uint64_t v) {
    if (v > std::uint64_t(std::numeric_limits<std::int64_t>::max())) throw ProtocolError("Inteiro fora do limite.");
    return put(static_cast<std::int64_t>(v));
  }
  bool visit_negative_integer(std::int64_t v) { return put(v); }
  bool visit_float32(float v) { return put(static_cast<double>(v)); }
  bool visit_float64(double v) { return put(v); }
  bool visit_str(const char* v, std::uint32_t size) { return put(std::string_view(v, size)); }
  bool visit_bin(const char*, std::uint32_t) { throw ProtocolError("Valor binário não suportado."); }
  bool visit_ext(const char* v, std::uint32_t size) {
    // v[0] is the ext type, the data follows.
    if (size != 9 || static_cast<std::int8_t>(v[0]) != kDateExtType) throw ProtocolError("Tipo estendido desconhecido.");
    const auto* b = reinterpret_cast<const unsigned char*>(v + 1);
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = (bits << 8) | b[i];
    return put(DateTime{std::bit_cast<double>(bits)});
  }

  bool start_array(std::uint32_t n) {
    if (!stack_.empty()) {
      Open& top = stack_.back();
      if (top.kind == Kind::RowList) return open(n, Kind::Row);
      if (top.kind == Kind::Map && top.items.size() % 2 == 1 && top.items.back().isText() &&
          top.items.back().textView() == "rows")
        return open(n, Kind::RowList);
    }
    return open(n, Kind::Array);
  }
  bool end_array() {
    Open& top = stack_.back();
    if (top.kind == Kind::Row) {
      if (!top.rows->EndRow()) throw ProtocolError("Linha do pacote com número errado de valores.");
      stack_.pop_back();
      return true;
    }
    if (top.kind == Kind::RowList) {
      // The rows wait beside the map's pairs; a null keeps the pairs in step.
      std::unique_ptr<PacketRows> rows = std::move(top.owned);
      stack_.pop_back();
      Open& map = stack_.back();
      map.rows = rows.get();
      map.owned = std::move(rows);
      map.rowsAt = map.items.size();
      map.items.emplace_back();
      return true;
    }
    Variant::Array items = std::move(top.items);
    stack_.pop_back();
    return place(std::move(items));
  }
  bool start_map(std::uint32_t n) { return open(n, Kind::Map); }
  bool end_map() {
    Open& top = stack_.back();
    DataPacket p = PacketFromPairs(top.items, top.rows, top.rowsAt);
    stack_.pop_back();
    return place(std::move(p));
  }

  void parse_error(std::size_t, std::size_t) { throw ProtocolError("Mensagem malformada."); }
  void insufficient_bytes(std::size_t, std::size_t) { throw ProtocolError("Mensagem truncada."); }

 private:
  enum class Kind { Array, Map, RowList, Row };
  struct Open {
    Kind kind = Kind::Array;
    Variant::Array items;  // a map's keys and values alternate
    // A map's decoded rows and where they stand among its pairs; a row list
    // owns the rows being filled, and a row adds to its list's.
    std::unique_ptr<PacketRows> owned;
    PacketRows* rows = nullptr;
    std::size_t rowsAt = 0;
    std::size_t claimed = 0;  // bytes of the body reserved for elements still to come
  };

  // Every value takes at least one byte of the body: the byte of the value
  // now read comes out of its container's reservation or, beyond it, out of
  // the body's unclaimed bytes.
  void claimByte() {
    if (!stack_.empty() && stack_.back().claimed > 0) --stack_.back().claimed;
    else if (unclaimed_ > 0) --unclaimed_;
  }

  // Constructs the value where it belongs: a large packet has millions of
  // cells, and a temporary for each costs a move and a destruction.
  template <class... A>
  bool put(A&&... value) {
    claimByte();
    return place(std::forward<A>(value)...);
  }
  // A container's value, whose byte was claimed when it opened.
  template <class... A>
  bool place(A&&... value) {
    if (stack_.empty()) {
      result_ = Variant(std::forward<A>(value)...);
      return true;
    }
    Open& top = stack_.back();
    switch (top.kind) {
      case Kind::Row:
        if (!top.rows->AddCell(std::forward<A>(value)...))
          throw ProtocolError("Linha do pacote com número errado de valores.");
        return true;
      case Kind::RowList: throw ProtocolError("Linha do pacote com número errado de valores.");
      default: top.items.emplace_back(std::forward<A>(value)...); return true;
    }
  }

  bool open(std::uint32_t n, Kind kind) {
    if (stack_.size() >= kMaxNesting) throw ProtocolError("Mensagem aninhada demais.");
    claimByte();
    Open frame{kind, {}, nullptr, nullptr, 0, 0};
    if (kind == Kind::Row) {
      frame.rows = stack_.back().rows;
      frame.rows->StartRow();
    } else if (kind == Kind::RowList) {
      frame.owned = std::make_unique<PacketRows>();
      frame.rows = frame.owned.get();
    } else {
      // Every element takes at least a byte: what all open containers
      // reserve together stays within the bytes of the body not yet read,
      // so counts that lie, nested deep, cost no memory.
      const std::size_t expected = kind == Kind::Map ? std::size_t(n) * 2 : n;
      frame.claimed = std::min(expected, unclaimed_);
      unclaimed_ -= frame.claimed;
      frame.items.reserve(frame.claimed);
    }
    stack_.push_back(std::move(frame));
    return true;
  }

  std::size_t unclaimed_;  // bytes of the body no open container has reserved
  std::vector<Open> stack_;
  Variant result_;
};

}  // namespace

void PackValue(Packer& pk, const Variant& v) {
  switch (v.kind()) {
    case Variant::Kind::Null: pk.pack_nil(); return;
    case Variant::Kind::Bool: v.asBool() ? pk.pack_true() : pk.pack_false(); return;
    case Variant::Kind::Int: pk.pack_int64(v.asInt()); return;
    case Variant::Kind::Double: pk.pack_double(v.asDouble()); return;
    case Variant::Kind::Text: PackText(pk, v.textView()); return;
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

std::string EncodeValue(const Variant& v) {
  msgpack::sbuffer buf;
  Packer pk(buf);
  PackValue(pk, v);
  return std::string(buf.data(), buf.size());
}

Variant DecodeValue(std::string_view bytes) {
  VariantBuilder builder(bytes.size());
  std::size_t off = 0;
  bool ok;
  try {
    ok = msgpack::parse(bytes.data(), bytes.size(), off, builder);
  } catch (const ProtocolError&) {
    throw;
  } catch (const std::exception& e) {
    throw ProtocolError(std::string("Mensagem malformada: ") + e.what());
  }
  if (!ok) throw ProtocolError("Mensagem malformada.");
  if (off != bytes.size()) throw ProtocolError("Mensagem com bytes a mais.");
  return builder.take();
}

}  // namespace wire
