#include "variant.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "packet.h"

namespace {

[[noreturn]] void kindError(const char* wanted, Variant::Kind got) {
  throw std::runtime_error(std::string("Valor de tipo ") + Variant::kindName(got) +
                           " não pode ser lido como " + wanted + ".");
}

bool parseNumber(const std::string& text, double& out) {
  std::string s = text;
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

// A whole number inside the range of int64: converting anything else (1e300
// from the wire, infinity, NaN) is undefined behaviour. 2^63 itself is out.
bool IsWholeInt64(double d) {
  constexpr double kLimit = 9223372036854775808.0;  // 2^63, exact as a double
  return std::floor(d) == d && d >= -kLimit && d < kLimit;
}

}  // namespace

Variant::Variant(DataPacket p) : v_(std::make_shared<const DataPacket>(std::move(p))) {}

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
    case Kind::Bool: return std::get<bool>(v_);
    case Kind::Int: return std::get<std::int64_t>(v_) != 0;
    case Kind::Text: {
      const std::string& s = std::get<std::string>(v_);
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
    case Kind::Int: return std::get<std::int64_t>(v_);
    case Kind::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Kind::Double: {
      double d = std::get<double>(v_);
      if (IsWholeInt64(d)) return static_cast<std::int64_t>(d);
      break;
    }
    case Kind::Text: {
      double d;
      if (parseNumber(std::get<std::string>(v_), d) && IsWholeInt64(d)) return static_cast<std::int64_t>(d);
      break;
    }
    default: break;
  }
  kindError("inteiro", kind());
}

double Variant::asDouble() const {
  switch (kind()) {
    case Kind::Double: return std::get<double>(v_);
    case Kind::Int: return static_cast<double>(std::get<std::int64_t>(v_));
    case Kind::Date: return std::get<DateTime>(v_).days;
    case Kind::Text: {
      double d;
      if (parseNumber(std::get<std::string>(v_), d)) return d;
      break;
    }
    default: break;
  }
  kindError("número", kind());
}

std::string Variant::asText() const {
  switch (kind()) {
    case Kind::Null: return "";
    case Kind::Bool: return std::get<bool>(v_) ? "True" : "False";
    case Kind::Int: return std::to_string(std::get<std::int64_t>(v_));
    case Kind::Double: {
      std::ostringstream os;
      os.precision(15);
      os << std::get<double>(v_);
      return os.str();
    }
    case Kind::Text: return std::get<std::string>(v_);
    case Kind::Date: {
      std::ostringstream os;
      os.precision(15);
      os << std::get<DateTime>(v_).days;
      return os.str();
    }
    default: break;
  }
  kindError("texto", kind());
}

std::string_view Variant::textView() const {
  if (kind() != Kind::Text) kindError("texto", kind());
  return std::get<std::string>(v_);
}

DateTime Variant::asDate() const {
  switch (kind()) {
    case Kind::Date: return std::get<DateTime>(v_);
    case Kind::Double: return DateTime{std::get<double>(v_)};
    case Kind::Int: return DateTime{static_cast<double>(std::get<std::int64_t>(v_))};
    default: break;
  }
  kindError("data", kind());
}

const Variant::Array& Variant::asArray() const {
  if (kind() != Kind::Array) kindError("lista", kind());
  return std::get<Array>(v_);
}

Variant::Array& Variant::asArray() {
  if (kind() != Kind::Array) kindError("lista", kind());
  return std::get<Array>(v_);
}

const DataPacket& Variant::asPacket() const {
  if (kind() != Kind::Packet || !std::get<PacketPtr>(v_)) kindError("pacote de dados", kind());
  return *std::get<PacketPtr>(v_);
}

Variant::PacketPtr Variant::packetPtr() const {
  if (kind() != Kind::Packet) kindError("pacote de dados", kind());
  return std::get<PacketPtr>(v_);
}

const Variant& Variant::operator[](std::size_t i) const {
  const Array& a = asArray();
  if (i >= a.size())
    throw std::runtime_error("Índice " + std::to_string(i) + " fora da lista de " + std::to_string(a.size()) +
                             " elementos.");
  return a[i];
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.kind() != b.kind()) return false;
  if (a.kind() == Variant::Kind::Packet) {
    const auto& pa = std::get<Variant::PacketPtr>(a.v_);
    const auto& pb = std::get<Variant::PacketPtr>(b.v_);
    if (pa == pb) return true;
    if (!pa || !pb) return false;
    return *pa == *pb;
  }
  return a.v_ == b.v_;
}
