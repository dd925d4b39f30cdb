#include "variant_json.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "data/civil_date.h"
#include "data/packet.h"

namespace {

FieldDef FieldFromJson(const Json& j) {
  if (!j.is_object()) throw JsonError("Campo de pacote deve ser um objeto.");
  FieldDef f;
  auto name = j.find("name");
  if (name == j.end() || !name->is_string()) throw JsonError("Campo de pacote sem \"name\".");
  f.name = name->get<std::string>();
  if (auto type = j.find("type"); type != j.end()) {
    if (!type->is_string()) throw JsonError("\"type\" de campo deve ser texto.");
    try {
      f.type = FieldTypeFromName(type->get<std::string>());
    } catch (const std::exception& e) {
      throw JsonError(e.what());
    }
  }
  if (auto size = j.find("size"); size != j.end()) {
    if (!size->is_number_integer() || size->get<std::int64_t>() < 0 || size->get<std::int64_t>() > 1'000'000)
      throw JsonError("\"size\" de campo deve ser inteiro não negativo.");
    f.size = size->get<int>();
  }
  return f;
}

Variant CellFromJson(const FieldDef& field, const Json& j) {
  DateTime d;
  if (field.type == FieldType::DateTime && j.is_string() && ParseDateTime(j.get<std::string>(), d)) return Variant(d);
  if (j.is_structured()) throw JsonError("Valor do campo " + field.name + " deve ser simples.");
  return VariantFromJson(j);
}

Variant PacketFromJson(const Json& j) {
  auto fields = j.find("fields");
  auto rows = j.find("rows");
  if (fields == j.end() || rows == j.end() || j.size() != 2 || !fields->is_array() || !rows->is_array())
    throw JsonError("Objeto JSON só é aceito na forma {\"fields\":[...],\"rows\":[...]}.");
  DataPacket p;
  for (const Json& f : *fields) p.fields.push_back(FieldFromJson(f));
  for (const Json& r : *rows) {
    if (!r.is_array() || r.size() != p.fields.size())
      throw JsonError("Cada linha deve ser uma lista com um valor por campo.");
    DataPacket::Row row;
    for (std::size_t i = 0; i < r.size(); ++i) row.push_back(CellFromJson(p.fields[i], r[i]));
    p.rows.push_back(std::move(row));
  }
  return Variant(std::move(p));
}

Json ToJson(const Variant& v);

Json PacketToJson(const DataPacket& p) {
  Json fields = Json::array();
  for (const FieldDef& f : p.fields)
    fields.push_back(Json{{"name", f.name}, {"type", FieldTypeName(f.type)}, {"size", f.size}});
  Json rows = Json::array();
  for (PacketRows::ConstRowRef r : p.rows) {
    Json row = Json::array();
    for (const Variant& cell : r) row.push_back(ToJson(cell));
    rows.push_back(std::move(row));
  }
  Json packet = Json::object();
  packet["fields"] = std::move(fields);
  packet["rows"] = std::move(rows);
  return packet;
}

Json ToJson(const Variant& v) {
  switch (v.kind()) {
    case Variant::Kind::Null: return nullptr;
    case Variant::Kind::Bool: return v.asBool();
    case Variant::Kind::Int: return v.asInt();
    case Variant::Kind::Double: return v.asDouble();
    case Variant::Kind::Text: return v.asText();
    case Variant::Kind::Date: return FormatDateTime(v.asDate());
    case Variant::Kind::Array: {
      Json a = Json::array();
      for (const Variant& e : v.asArray()) a.push_back(ToJson(e));
      return a;
    }
    case Variant::Kind::Packet: return PacketToJson(v.asPacket());
  }
  return nullptr;
}

}  // namespace

Variant VariantFromJson(const Json& j) {
  switch (j.type()) {
    case Json::value_t::boolean: return Variant(j.get<bool>());
    case Json::value_t::number_integer: return Variant(j.get<std::int64_t>());
    case Json::value_t::number_unsigned: {
      // The parser keeps every non-negative whole number unsigned; past
      // int64 it is a double, as any other number that does not fit.
      const std::uint64_t u = j.get<std::uint64_t>();
      if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return Variant(static_cast<std::int64_t>(u));
      return Variant(static_cast<double>(u));
    }
    case Json::value_t::number_float: return Variant(j.get<double>());
    case Json::value_t::string: return Variant(j.get<std::string>());
    case Json::value_t::array: {
      Variant::Array a;
      for (const Json& e : j) a.push_back(VariantFromJson(e));
      return Variant(std::move(a));
    }
    case Json::value_t::object: return PacketFromJson(j);
    default: return Variant();
  }
}

Variant ArgumentValue(const std::string& arg) {
  Json j = Json::parse(arg, nullptr, /*allow_exceptions=*/false);
  if (j.is_discarded()) return Variant(arg);
  return VariantFromJson(j);
}

std::string VariantToJson(const Variant& v) {
  // Texts from the server are UTF-8; a stray byte prints as U+FFFD rather
  // than losing the whole answer.
  return ToJson(v).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string FormatDateTime(DateTime d) {
  // A value outside the calendar (or NaN) has no date to print, and as a day
  // count it would not even fit a long.
  if (!(d.days >= kFirstCalendarDay && d.days < kLastCalendarDay + 1)) return "";
  // Whole days count the date; the fraction, whatever the sign, the time.
  double whole = std::trunc(d.days);
  long long seconds = std::llround(std::fabs(d.days - whole) * 86400.0);
  long day = static_cast<long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += d.days < 0 ? -1 : 1;
  }
  const CivilDate date = CivilFromDays(static_cast<double>(day));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02lld:%02lld:%02lld", date.day, date.month, date.year,
                seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

bool ParseDateTime(std::string_view s, DateTime& out) {
  unsigned d = 0, m = 0, hh = 0, mi = 0, ss = 0;
  int y = 0;
  int used = 0;
  std::string text(s);
  int n = std::sscanf(text.c_str(), "%2u/%2u/%4d%n", &d, &m, &y, &used);
  if (n != 3) return false;
  std::string_view rest = s.substr(static_cast<std::size_t>(used));
  if (!rest.empty()) {
    int used2 = 0;
    std::string r(rest);
    int k = std::sscanf(r.c_str(), " %2u:%2u%n", &hh, &mi, &used2);
    if (k != 2) return false;
    rest = rest.substr(static_cast<std::size_t>(used2));
    if (!rest.empty()) {
      int used3 = 0;
      std::string r3(rest);
      if (std::sscanf(r3.c_str(), ":%2u%n", &ss, &used3) != 1 || static_cast<std::size_t>(used3) != rest.size())
        return false;
    }
  }
  if (!IsRealDay(y, static_cast<int>(m), static_cast<int>(d)) || hh > 23 || mi > 59 || ss > 59) return false;
  // Before day zero the time of day still counts away from zero.
  double day = DaysFromCivil(y, static_cast<int>(m), static_cast<int>(d));
  double time = (hh * 3600.0 + mi * 60.0 + ss) / 86400.0;
  out.days = day < 0 ? day - time : day + time;
  return true;
}
