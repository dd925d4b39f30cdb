#include "variant.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

#include "packet.h"

namespace {

[[noreturn]] void kindError(const char* wanted, Variant::Kind got) {
  throw std::runtime_error(std::string("Valor de tipo ") + Variant::kindName(got) +
                           " não pode ser lido como " + wanted + ".");
}

bool parseNumber(std::string_view text, double& out) {
  std::string s(text);
  // Users and the server write the comma as decimal separator.
  for (char& c : s)
    if (c == ',') c = '.';
  std::size_t b = s.find_first_not_of(' ');
  std::size_t e = s.find_last_not_of(' ');
  if (b == std::string::npos) return false;
  s = s.substr(b, e - b + 1);
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return end && *end == '\0';
}

}  // namespace

Variant::Variant(Array a) : Variant() {
  new (bits_.object) Array(std::move(a));
  bits_.kind = Kind::Array;
}

Variant::Variant(PacketPtr p) : Variant() {
  new (bits_.object) PacketPtr(std::move(p));
  bits_.kind = Kind::Packet;
}

Variant::Variant(DataPacket p) : Variant(std::make_shared<const DataPacket>(std::move(p))) {}

Variant::Variant(const Variant& other) : bits_(other.bits_) {
  switch (other.kind()) {
    case Kind::Text:
      if (other.bits_.inlineLength == kHeapText) {
        bits_.kind = Kind::Null;  // until the copy is made, should it throw
        SetText(other.textView());
      }
      break;
    case Kind::Array:
      bits_.kind = Kind::Null;
      new (bits_.object) Array(*other.HeldArray());
      bits_.kind = Kind::Array;
      break;
    case Kind::Packet:
      bits_.kind = Kind::Null;
      new (bits_.object) PacketPtr(*other.HeldPacket());
      bits_.kind = Kind::Packet;
      break;
    default: break;
  }
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) *this = Variant(other);
  return *this;
}

namespace {

// Copies up to 32 bytes with a few fixed-size moves (the pieces may overlap)
// instead of a call to memcpy, whose set-up costs more than such a copy: a
// large packet's cells are mostly short texts.
void CopyShort(char* to, const char* from, std::size_t n) {
  auto piece = [&](std::size_t size) {
    char a[16], b[16];
    std::memcpy(a, from, size);
    std::memcpy(b, from + n - size, size);
    std::memcpy(to, a, size);
    std::memcpy(to + n - size, b, size);
  };
  if (n >= 16) {
    char a[16], b[16];
    std::memcpy(a, from, 16);
    std::memcpy(b, from + n - 16, 16);
    std::memcpy(to, a, 16);
    std::memcpy(to + n - 16, b, 16);
  } else if (n >= 8) {
    piece(8);
  } else if (n >= 4) {
    piece(4);
  } else if (n > 0) {
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
  }
}

}  // namespace

void Variant::SetText(std::string_view text) {
  bits_.kind = Kind::Text;
  if (text.size() <= kInlineText) {
    // An empty view may have no data at all, so nothing is read from it.
    CopyShort(InlineChars(), text.data(), text.size());
    bits_.inlineLength = static_cast<std::uint8_t>(text.size());
    return;
  }
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    bits_.kind = Kind::Null;
    throw std::length_error("Texto longo demais para um valor.");
  }
  char* block = new char[text.size()];
  std::memcpy(block, text.data(), text.size());
  bits_.value.text = block;
  bits_.length = static_cast<std::uint32_t>(text.size());
  bits_.inlineLength = kHeapText;
}

void Variant::ReleaseHeld() noexcept {
  switch (bits_.kind) {
    case Kind::Text: delete[] bits_.value.text; break;
    case Kind::Array: HeldArray()->~Array(); break;
    case Kind::Packet: HeldPacket()->~PacketPtr(); break;
    default: break;
  }
  bits_.kind = Kind::Null;
}

void Variant::TakeObject(Variant& other) noexcept {
  if (other.bits_.kind == Kind::Array) {
    new (bits_.object) Array(std::move(*other.HeldArray()));
    other.HeldArray()->~Array();
  } else {
    new (bits_.object) PacketPtr(std::move(*other.HeldPacket()));
    other.HeldPacket()->~PacketPtr();
  }
}

const char* Variant::kindName(Kind k) {
  switch (k) {
    case Kind::Null: return "nulo";
    case Kind::Bool: return "lógico";
    case Kind::Int: return "inteiro";
    case Kind::Double: return "número";
    case Kind::Text: return "texto";
    case Kind::Date: return "data";
    case Kind::Array: return "lista";
    case Kind::Packet: return "pacote de dados";
  }
  return "?";
}

bool Variant::asBool() const {
  switch (kind()) {
    case Kind::Bool: return bits_.value.b;
    case Kind::Int: return bits_.value.i != 0;
    case Kind::Text: {
      const std::string_view s = textView();
      if (s == "S" || s == "s" || s == "true" || s == "True" || s == "TRUE" || s == "1") return true;
      if (s == "N" || s == "n" || s == "false" || s == "False" || s == "FALSE" || s == "0" || s.empty())
        return false;
      break;
    }
    default: break;
  }
  kindError("lógico", kind());
}

std::int64_t Variant::asInt() const {
  switch (kind()) {
    case Kind::Int: return bits_.value.i;
    case Kind::Bool: return bits_.value.b ? 1 : 0;
    case Kind::Double: {
      double d = bits_.value.d;
      if (IsWholeInt64(d)) return static_cast<std::int64_t>(d);
      break;
    }
    case Kind::Text: {
      double d;
      if (parseNumber(textView(), d) && IsWholeInt64(d)) return static_cast<std::int64_t>(d);
      break;
    }
    default: break;
  }
  kindError("inteiro", kind());
}

double Variant::asDouble() const {
  switch (kind()) {
    case Kind::Double: return bits_.value.d;
    case Kind::Int: return static_cast<double>(bits_.value.i);
    case Kind::Date: return bits_.value.d;
    case Kind::Text: {
      double d;
      if (parseNumber(textView(), d)) return d;
      break;
    }
    default: break;
  }
  kindError("número", kind());
}

std::string Variant::asText() const {
  switch (kind()) {
    case Kind::Null: return "";
    case Kind::Bool: return bits_.value.b ? "True" : "False";
    case Kind::Int: return std::to_string(bits_.value.i);
    case Kind::Double: {
      std::ostringstream os;
      os.precision(15);
      os << bits_.value.d;
      return os.str();
    }
    case Kind::Text: return std::string(textView());
    case Kind::Date: {
      std::ostringstream os;
      os.precision(15);
      os << bits_.value.d;
      return os.str();
    }
    default: break;
  }
  kindError("texto", kind());
}

void Variant::NotText() const { kindError("texto", kind()); }

DateTime Variant::asDate() const {
  switch (kind()) {
    case Kind::Date: return DateTime{bits_.value.d};
    case Kind::Double: return DateTime{bits_.value.d};
    case Kind::Int: return DateTime{static_cast<double>(bits_.value.i)};
    default: break;
  }
  kindError("data", kind());
}

const Variant::Array& Variant::asArray() const {
  if (kind() != Kind::Array) kindError("lista", kind());
  return *HeldArray();
}

Variant::Array& Variant::asArray() {
  if (kind() != Kind::Array) kindError("lista", kind());
  return *HeldArray();
}

const DataPacket& Variant::asPacket() const {
  if (kind() != Kind::Packet || !*HeldPacket()) kindError("pacote de dados", kind());
  return **HeldPacket();
}

Variant::PacketPtr Variant::packetPtr() const {
  if (kind() != Kind::Packet) kindError("pacote de dados", kind());
  return *HeldPacket();
}

const Variant& Variant::operator[](std::size_t i) const {
  const Array& a = asArray();
  if (i >= a.size())
    throw std::runtime_error("Índice " + std::to_string(i) + " fora da lista de " + std::to_string(a.size()) +
                             " elementos.");
  return a[i];
}

bool operator==(const Variant& a, const Variant& b) {
  using K = Variant::Kind;
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case K::Null: return true;
    case K::Bool: return a.bits_.value.b == b.bits_.value.b;
    case K::Int: return a.bits_.value.i == b.bits_.value.i;
    case K::Double:
    case K::Date: return a.bits_.value.d == b.bits_.value.d;
    case K::Text: return a.textView() == b.textView();
    case K::Array: return *a.HeldArray() == *b.HeldArray();
    case K::Packet: {
      const auto& pa = *a.HeldPacket();
      const auto& pb = *b.HeldPacket();
      if (pa == pb) return true;
      if (!pa || !pb) return false;
      return *pa == *pb;
    }
  }
  return false;
}
