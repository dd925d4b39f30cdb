#pragma once
// The value every remote call, packet cell and control text travels as:
// null, boolean, integer, double, text, date-time, array (zero-based) or
// data packet.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
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

  enum class Kind { Null, Bool, Int, Double, Text, Date, Array, Packet };

  Variant() = default;
  Variant(std::nullptr_t) {}
  Variant(bool b) : v_(b) {}
  Variant(int i) : v_(static_cast<std::int64_t>(i)) {}
  Variant(std::int64_t i) : v_(i) {}
  Variant(double d) : v_(d) {}
  Variant(const char* s) : v_(std::string(s)) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(DateTime d) : v_(d) {}
  Variant(Array a) : v_(std::move(a)) {}
  Variant(PacketPtr p) : v_(std::move(p)) {}
  Variant(DataPacket p);

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool isNull() const { return kind() == Kind::Null; }
  bool isArray() const { return kind() == Kind::Array; }
  bool isPacket() const { return kind() == Kind::Packet; }
  bool isText() const { return kind() == Kind::Text; }

  // Strict accessors: throw std::runtime_error naming the kinds on mismatch.
  bool asBool() const;           // also accepts integers, and texts "S"/"N"/"true"/"false"
  std::int64_t asInt() const;    // accepts integral doubles and numeric texts
  double asDouble() const;       // accepts integers and numeric texts ("1,5" or "1.5")
  std::string asText() const;    // any scalar as text: null "", true "True", numbers plainly
  std::string_view textView() const;  // a text's own characters, without a copy; throws for other kinds
  DateTime asDate() const;
  const Array& asArray() const;
  Array& asArray();
  const DataPacket& asPacket() const;
  PacketPtr packetPtr() const;

  // Element of an array result; throws when this is not an array or the
  // index is out of range.
  const Variant& operator[](std::size_t i) const;

  static const char* kindName(Kind k);

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, DateTime, Array, PacketPtr> v_;
};

inline Variant MakeArray(std::initializer_list<Variant> items) { return Variant(Variant::Array(items)); }
