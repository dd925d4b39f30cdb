#include "field_value.h"

#include <climits>
#include <cmath>

#include "data/exceptions.h"
#include "data/formats.h"
#include "data/text_compare.h"

namespace {

[[noreturn]] void Refuse(const Variant& value, const std::string& fieldName, const char* what) {
  std::string text;
  try {
    text = StoredText(value);
  } catch (const std::exception&) {
    text = Variant::kindName(value.kind());
  }
  throw Exception("'" + text + "' não é " + what + " para o campo " + fieldName);
}

std::string FitText(std::string text, FieldType type, int size) {
  if (size <= 0) return text;
  std::size_t chars = Utf8Length(text);
  std::size_t limit = static_cast<std::size_t>(size);
  if (chars > limit) return std::string(Utf8Prefix(text, limit));
  if (type == FieldType::FixedString && chars < limit) text.append(limit - chars, ' ');
  return text;
}

}  // namespace

Variant::Kind StoredKind(FieldType type) {
  switch (type) {
    case FieldType::String:
    case FieldType::FixedString: return Variant::Kind::Text;
    case FieldType::Float: return Variant::Kind::Double;
    case FieldType::DateTime: return Variant::Kind::Date;
    case FieldType::Integer: return Variant::Kind::Int;
    case FieldType::Boolean: return Variant::Kind::Bool;
  }
  return Variant::Kind::Null;
}

bool IsStoredAs(const Variant& value, FieldType type, int size) {
  if (value.isNull()) return true;
  if (value.kind() != StoredKind(type)) return false;
  if (value.isText() && size > 0) {
    std::size_t chars = Utf8Length(value.asText());
    std::size_t limit = static_cast<std::size_t>(size);
    return type == FieldType::FixedString ? chars == limit : chars <= limit;
  }
  if (type == FieldType::Integer) {
    std::int64_t i = value.asInt();
    return i >= INT_MIN && i <= INT_MAX;
  }
  return true;
}

Variant ToFieldValue(const Variant& value, FieldType type, int size, const std::string& fieldName) {
  if (value.isNull()) return Variant();
  using K = Variant::Kind;
  K kind = value.kind();
  if (kind == K::Array || kind == K::Packet) Refuse(value, fieldName, "um valor válido");
  switch (type) {
    case FieldType::String:
    case FieldType::FixedString:
      return Variant(FitText(StoredText(value), type, size));
    case FieldType::Float:
      if (kind == K::Double) return value;
      if (kind == K::Int || kind == K::Date) return Variant(value.asDouble());
      if (kind == K::Text) {
        if (TrimRight(value.asText()).empty()) return Variant();
        if (auto d = ParseFloat(value.asText())) return Variant(*d);
      }
      Refuse(value, fieldName, "um valor numérico válido");
    case FieldType::Integer: {
      double d = 0;
      if (kind == K::Int) d = static_cast<double>(value.asInt());
      else if (kind == K::Double) d = value.asDouble();
      else if (kind == K::Bool) d = value.asBool() ? 1 : 0;
      else if (kind == K::Text) {
        if (TrimRight(value.asText()).empty()) return Variant();
        auto p = ParseFloat(value.asText());
        if (!p) Refuse(value, fieldName, "um valor inteiro válido");
        d = *p;
      } else Refuse(value, fieldName, "um valor inteiro válido");
      if (std::floor(d) != d || d < INT_MIN || d > INT_MAX) Refuse(value, fieldName, "um valor inteiro válido");
      return Variant(static_cast<std::int64_t>(d));
    }
    case FieldType::DateTime:
      if (kind == K::Date) return value;
      if (kind == K::Double || kind == K::Int) return Variant(DateTime{value.asDouble()});
      if (kind == K::Text) {
        if (TrimRight(value.asText()).empty()) return Variant();
        if (auto d = ParseDate(value.asText())) return Variant(*d);
      }
      Refuse(value, fieldName, "uma data válida");
    case FieldType::Boolean:
      try {
        return Variant(value.asBool());
      } catch (const std::exception&) {
        Refuse(value, fieldName, "um valor lógico válido");
      }
  }
  return value;
}

std::string StoredText(const Variant& value) {
  switch (value.kind()) {
    case Variant::Kind::Null: return "";
    case Variant::Kind::Double: return FloatToStr(value.asDouble());
    case Variant::Kind::Date: return DateTimeToStr(value.asDate());
    default: return value.asText();
  }
}
