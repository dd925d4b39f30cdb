#pragma once
// The value every remote call, packet cell and control text travels as:
// null, boolean, integer, double, text, date-time, array (zero-based) or
// data packet.

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class DataPacket;

// A point in time as days since 30/12/1899 (the fraction is the time of day),
// so dates compare and add like numbers and whole days are whole numbers.
struct DateTime {
  double days = 0.0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
  friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

class Variant {
 public:
  using Array = std::vector<Variant>;
  using PacketPtr = std::shared_ptr<const DataPacket>;

  enum class Kind : std::uint8_t { Null, Bool, Int, Double, Text, Date, Array, Packet };

  Variant() noexcept : bits_{} {}
  Variant(std::nullptr_t) noexcept : Variant() {}
  Variant(bool b) noexcept : Variant() { Set(Kind::Bool).b = b; }
  Variant(int i) noexcept : Variant(static_cast<std::int64_t>(i)) {}
  Variant(std::int64_t i) noexcept : Variant() { Set(Kind::Int).i = i; }
  Variant(double d) noexcept : Variant() { Set(Kind::Double).d = d; }
  Variant(const char* s) : Variant() { SetText(std::string_view(s)); }
  Variant(const std::string& s) : Variant() { SetText(s); }
  explicit Variant(std::string_view s) : Variant() { SetText(s); }
  Variant(DateTime d) noexcept : Variant() { Set(Kind::Date).d = d.days; }
  Variant(Array a);
  Variant(PacketPtr p);
  Variant(DataPacket p);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept : bits_(other.bits_) {
    if (other.HoldsObject()) TakeObject(other);
    other.bits_.kind = Kind::Null;
  }
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      // Taken first: `other` may live inside this value's own array.
      Variant taken(std::move(other));
      Release();
      bits_ = taken.bits_;
      if (taken.HoldsObject()) TakeObject(taken);
      taken.bits_.kind = Kind::Null;
    }
    return *this;
  }
  ~Variant() { Release(); }

  Kind kind() const { return bits_.kind; }
  bool isNull() const { return kind() == Kind::Null; }
  bool isArray() const { return kind() == Kind::Array; }
  bool isPacket() const { return kind() == Kind::Packet; }
  bool isText() const { return kind() == Kind::Text; }

  // Strict accessors: throw std::runtime_error naming the kinds on mismatch.
  bool asBool() const;           // also accepts integers, and texts "S"/"N"/"true"/"false"
  std::int64_t asInt() const;    // accepts integral doubles and numeric texts
  double asDouble() const;       // accepts integers and numeric texts ("1,5" or "1.5")
  std::string asText() const;    // any scalar as text: null "", true "True", numbers plainly
  // A text's own characters, without a copy; throws for other kinds.
  std::string_view textView() const {
    if (kind() != Kind::Text) NotText();
    if (bits_.inlineLength == kHeapText) return {bits_.value.text, bits_.length};
    return {InlineChars(), bits_.inlineLength};
  }
  DateTime asDate() const;
  const Array& asArray() const;
  Array& asArray();
  const DataPacket& asPacket() const;
  PacketPtr packetPtr() const;
  // A packet no other value shares: its holder may take its contents.
  bool holdsPacketAlone() const { return kind() == Kind::Packet && HeldPacket()->use_count() == 1; }

  // Element of an array result; throws when this is not an array or the
  // index is out of range.
  const Variant& operator[](std::size_t i) const;

  static const char* kindName(Kind k);

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  // Thirty-two bytes, so a packet's millions of cells stay small and need no
  // allocation of their own: texts of up to 30 bytes sit in the value itself
  // (longer ones in one block of exactly their size), an array's vector and a
  // packet's pointer are built in place.
  static constexpr std::size_t kInlineText = 30;
  static constexpr std::uint8_t kHeapText = 0xFF;  // `inlineLength` of a text held in its own block
  union Payload {
    bool b;
    std::int64_t i;
    double d;
    char* text;
  };
  // A short text's characters overlay `value`/`object`, `length` and `spare`.
  struct Bits {
    union {
      Payload value;
      alignas(8) unsigned char object[24];  // the Array or PacketPtr
    };
    std::uint32_t length;  // a text block's bytes
    char spare[2];
    std::uint8_t inlineLength;
    Kind kind;
  };
  static_assert(sizeof(Bits) == 32);
  static_assert(sizeof(Array) <= sizeof(Bits::object) && sizeof(PacketPtr) <= sizeof(Bits::object));

  Payload& Set(Kind k) noexcept {
    bits_.kind = k;
    return bits_.value;
  }
  void SetText(std::string_view text);
  [[noreturn]] void NotText() const;
  char* InlineChars() noexcept { return reinterpret_cast<char*>(&bits_); }
  const char* InlineChars() const noexcept { return reinterpret_cast<const char*>(&bits_); }
  Array* HeldArray() const noexcept { return std::launder(reinterpret_cast<Array*>(const_cast<unsigned char*>(bits_.object))); }
  PacketPtr* HeldPacket() const noexcept {
    return std::launder(reinterpret_cast<PacketPtr*>(const_cast<unsigned char*>(bits_.object)));
  }
  bool HoldsObject() const noexcept { return bits_.kind == Kind::Array || bits_.kind == Kind::Packet; }
  bool OwnsMemory() const noexcept {
    return (bits_.kind == Kind::Text && bits_.inlineLength == kHeapText) || HoldsObject();
  }
  void Release() noexcept {
    if (OwnsMemory()) ReleaseHeld();
  }
  void ReleaseHeld() noexcept;
  // Moves `other`'s vector or packet pointer into this value's bytes.
  void TakeObject(Variant& other) noexcept;

  Bits bits_;
};

// A whole number inside the range of int64: converting anything else (1e300
// from the wire, infinity, NaN) is undefined behaviour. 2^63 itself is out.
inline bool IsWholeInt64(double d) {
  constexpr double kLimit = 9223372036854775808.0;  // 2^63, exact as a double
  return std::floor(d) == d && d >= -kLimit && d < kLimit;
}

inline Variant MakeArray(std::initializer_list<Variant> items) { return Variant(Variant::Array(items)); }
