#include "column_decoder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "data/packet.h"
#include "data/record_store.h"
#include "data/variant.h"
#include "net/big_endian.h"
#include "net/value_codec.h"

namespace wire {
namespace {

// Thrown to leave the bytes to DecodeValue.
struct NotCommonShape {};

[[noreturn]] void Decline() { throw NotCommonShape{}; }

bool IsText(FieldType t) { return t == FieldType::String || t == FieldType::FixedString; }

// Integers a double holds exactly.
constexpr std::int64_t kExactInDouble = std::int64_t{1} << 53;

// A cursor over the body that reads each byte once.
class ColumnReader {
 public:
  explicit ColumnReader(std::string_view body)
      : at_(reinterpret_cast<const unsigned char*>(body.data())), end_(at_ + body.size()), unclaimed_(body.size()) {}

  Variant ReadWhole() {
    std::size_t none = 0;
    Variant v = Value(0, none);
    if (at_ != end_) Decline();
    return v;
  }

 private:
  // Rows sampled before each text column's block is reserved for the rest.
  static constexpr std::size_t kSampleRows = 256;

  std::size_t Left() const { return static_cast<std::size_t>(end_ - at_); }
  unsigned char Byte() {
    if (at_ == end_) Decline();
    return *at_++;
  }
  std::uint64_t BigEndian(std::size_t bytes) {
    if (Left() < bytes) Decline();
    const std::uint64_t v = ReadBigEndian(at_, bytes);
    at_ += bytes;
    return v;
  }
  std::string_view Chars(std::size_t n) {
    if (Left() < n) Decline();
    std::string_view s(reinterpret_cast<const char*>(at_), n);
    at_ += n;
    return s;
  }
  double Float64() { return std::bit_cast<double>(BigEndian(8)); }
  double Float32() { return static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(BigEndian(4)))); }

  // The length of a text whose type byte was `b`; false when `b` begins no text.
  bool TextLength(unsigned char b, std::size_t& n) {
    if (b >= 0xa0 && b <= 0xbf) n = b & 0x1fu;
    else if (b == 0xd9) n = BigEndian(1);
    else if (b == 0xda) n = BigEndian(2);
    else if (b == 0xdb) n = BigEndian(4);
    else return false;
    return true;
  }
  // An integer whose type byte was `b`; false when `b` begins none (or one
  // past the int64 range, which DecodeValue refuses).
  bool Integer(unsigned char b, std::int64_t& v) {
    if (b <= 0x7f) v = b;
    else if (b >= 0xe0) v = static_cast<std::int8_t>(b);
    else if (b >= 0xcc && b <= 0xcf) {
      const std::uint64_t u = BigEndian(std::size_t(1) << (b - 0xcc));
      if (u > std::uint64_t(std::numeric_limits<std::int64_t>::max())) Decline();
      v = static_cast<std::int64_t>(u);
    } else if (b >= 0xd0 && b <= 0xd3) {
      const std::size_t bytes = std::size_t(1) << (b - 0xd0);
      const std::uint64_t u = BigEndian(bytes);
      const unsigned shift = static_cast<unsigned>(64 - 8 * bytes);
      v = static_cast<std::int64_t>(u << shift) >> shift;  // sign-extended
    } else {
      return false;
    }
    return true;
  }
  // A date's days, its ext type byte `b` read (fixext 8 of type 1 only).
  double DateDays() {
    if (Byte() != static_cast<unsigned char>(kDateExtType)) Decline();
    return Float64();
  }
  // An array or map header's count; false when `b` begins neither.
  static bool IsArray(unsigned char b) { return (b >= 0x90 && b <= 0x9f) || b == 0xdc || b == 0xdd; }
  std::size_t ArrayCount(unsigned char b) {
    if (b >= 0x90 && b <= 0x9f) return b & 0x0fu;
    if (b == 0xdc) return BigEndian(2);
    if (b == 0xdd) return BigEndian(4);
    Decline();
  }
  std::string_view Text() {
    std::size_t n = 0;
    if (!TextLength(Byte(), n)) Decline();
    return Chars(n);
  }

  // Every value takes at least one byte: the byte of the value now read comes
  // out of its container's reservation or, beyond it, out of the body's
  // unclaimed bytes, so what open containers reserve stays within the body.
  void ClaimByte(std::size_t& claim) {
    if (claim > 0) --claim;
    else if (unclaimed_ > 0) --unclaimed_;
  }

  Variant Value(unsigned depth, std::size_t& claim) {
    ClaimByte(claim);
    const unsigned char b = Byte();
    std::size_t n = 0;
    std::int64_t i = 0;
    if (Integer(b, i)) return Variant(i);
    if (TextLength(b, n)) return Variant(Chars(n));
    if (IsArray(b)) return List(ArrayCount(b), depth);
    switch (b) {
      case 0xc0: return Variant();
      case 0xc2: return Variant(false);
      case 0xc3: return Variant(true);
      case 0xca: return Variant(Float32());
      case 0xcb: return Variant(Float64());
      case 0xd7: return Variant(DateTime{DateDays()});
      case 0x82: return Packet(depth);
      default: Decline();  // other maps, binaries and extensions
    }
  }

  Variant List(std::size_t n, unsigned depth) {
    if (depth >= kMaxNesting || n > Left()) Decline();
    std::size_t claim = std::min(n, unclaimed_);
    unclaimed_ -= claim;
    Variant::Array items;
    items.reserve(claim);
    for (std::size_t i = 0; i < n; ++i) items.push_back(Value(depth + 1, claim));
    return Variant(std::move(items));
  }

  FieldDef Field() {
    if (Byte() != 0x93) Decline();
    FieldDef f;
    f.name = std::string(Text());
    const std::string_view type = Text();
    bool known = false;
    for (FieldType t : {FieldType::String, FieldType::FixedString, FieldType::Float, FieldType::DateTime,
                        FieldType::Integer, FieldType::Boolean})
      if (type == FieldTypeName(t)) {
        f.type = t;
        known = true;
      }
    std::int64_t size = 0;
    if (!known || !Integer(Byte(), size) || size < 0 || size > std::numeric_limits<int>::max()) Decline();
    f.size = static_cast<int>(size);
    return f;
  }

  // {"fields": [...], "rows": [...]}, in that order.
  Variant Packet(unsigned depth) {
    if (depth + 2 >= kMaxNesting || Text() != "fields") Decline();
    // A field takes at least five bytes: [name, type, size].
    const std::size_t fieldCount = ArrayCount(Byte());
    if (fieldCount > Left() / 5) Decline();
    DataPacket packet;
    packet.fields.reserve(fieldCount);
    for (std::size_t f = 0; f < fieldCount; ++f) packet.fields.push_back(Field());
    if (Text() != "rows") Decline();
    const std::size_t rows = ArrayCount(Byte());
    // A row takes at least its header and a byte a cell: a count beyond what
    // the unread bytes could hold is a lie, and reserves nothing.
    const std::size_t width = fieldCount;
    if ((rows > 0 && width == 0) || rows > Left() / (width + 1)) Decline();
    std::vector<FieldType> types;
    for (const FieldDef& f : packet.fields) types.push_back(f.type);
    auto store = std::make_shared<RecordStore>();
    store->Reset(types, rows);
    for (std::size_t r = 0; r < rows; ++r) {
      if (r == kSampleRows && rows >= 4 * kSampleRows) ReserveTexts(*store, types, r, rows);
      const unsigned char b = Byte();
      if (!IsArray(b) || ArrayCount(b) != width) Decline();
      for (std::size_t f = 0; f < width; ++f) Cell(*store, f, types[f]);
    }
    store->Seal();
    packet.rows = PacketRows(std::move(store));
    return Variant(std::move(packet));
  }

  // Each text column's block reserved for the rows still to come, as much as
  // the rows read so far suggest and a little more (never more than the
  // bytes left), so it is copied once rather than grown step by step.
  void ReserveTexts(RecordStore& store, const std::vector<FieldType>& types, std::size_t read, std::size_t rows) {
    for (std::size_t f = 0; f < types.size(); ++f) {
      if (!IsText(types[f])) continue;
      const std::size_t expected = store.TextBytes(f) / read * (rows - read) + store.TextBytes(f) % read;
      store.ReserveText(f, std::min(expected + expected / 16 + 64, Left()));
    }
  }

  void Cell(RecordStore& store, std::size_t f, FieldType type) {
    const unsigned char b = Byte();
    if (b == 0xc0) {
      store.AppendNull(f);
      return;
    }
    std::size_t n = 0;
    std::int64_t i = 0;
    switch (type) {
      case FieldType::String:
      case FieldType::FixedString:
        if (!TextLength(b, n)) Decline();
        store.AppendText(f, Chars(n));
        return;
      case FieldType::Float: {
        // Whole numbers travel as integers (the encoder packs them so), and
        // read back as integers from the columns: a whole float, which only
        // another encoder sends, would not.
        double d = 0;
        if (b == 0xcb) d = Float64();
        else if (b == 0xca) d = Float32();
        else if (Integer(b, i) && i >= -kExactInDouble && i <= kExactInDouble) d = static_cast<double>(i);
        else Decline();
        if ((b == 0xcb || b == 0xca) && IsWholeInt64(d)) Decline();
        store.AppendNumber(f, d);
        return;
      }
      case FieldType::DateTime:
        if (b != 0xd7) Decline();
        store.AppendNumber(f, DateDays());
        return;
      case FieldType::Integer:
        if (!Integer(b, i) || i < std::numeric_limits<std::int32_t>::min() || i > std::numeric_limits<std::int32_t>::max())
          Decline();
        store.AppendNumber(f, static_cast<double>(i));
        return;
      case FieldType::Boolean:
        if (b != 0xc2 && b != 0xc3) Decline();
        store.AppendNumber(f, b == 0xc3 ? 1.0 : 0.0);
        return;
    }
    Decline();
  }

  const unsigned char* at_;
  const unsigned char* end_;
  std::size_t unclaimed_;  // bytes of the body no open container has reserved
};

}  // namespace

Variant DecodeValueInColumns(std::string_view bytes) {
  try {
    return ColumnReader(bytes).ReadWhole();
  } catch (const NotCommonShape&) {
    return DecodeValue(bytes);
  }
}

}  // namespace wire
