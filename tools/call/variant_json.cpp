#include "variant_json.h"

#include <cmath>
#include <cstdio>

#include "data/packet.h"

namespace {

// Days from 1970-01-01 for a civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

// 30/12/1899, day zero of DateTime, counted from 1970-01-01.
const long kEpochShift = DaysFromCivil(1899, 12, 30);

FieldDef FieldFromJson(const Json& j) {
  if (j.kind != Json::Kind::Object) throw JsonError("Campo de pacote deve ser um objeto.");
  FieldDef f;
  const Json* name = j.find("name");
  if (!name || name->kind != Json::Kind::String) throw JsonError("Campo de pacote sem \"name\".");
  f.name = name->text;
  if (const Json* type = j.find("type")) {
    if (type->kind != Json::Kind::String) throw JsonError("\"type\" de campo deve ser texto.");
    try {
      f.type = FieldTypeFromName(type->text);
    } catch (const std::exception& e) {
      throw JsonError(e.what());
    }
  }
  if (const Json* size = j.find("size")) {
    if (size->kind != Json::Kind::Int || size->integer < 0 || size->integer > 1'000'000)
      throw JsonError("\"size\" de campo deve ser inteiro não negativo.");
    f.size = static_cast<int>(size->integer);
  }
  return f;
}

Variant CellFromJson(const FieldDef& field, const Json& j) {
  DateTime d;
  if (field.type == FieldType::DateTime && j.kind == Json::Kind::String && ParseDateTime(j.text, d)) return Variant(d);
  if (j.kind == Json::Kind::Array || j.kind == Json::Kind::Object)
    throw JsonError("Valor do campo " + field.name + " deve ser simples.");
  return VariantFromJson(j);
}

Variant PacketFromJson(const Json& j) {
  const Json* fields = j.find("fields");
  const Json* rows = j.find("rows");
  if (!fields || !rows || j.members.size() != 2 || fields->kind != Json::Kind::Array ||
      rows->kind != Json::Kind::Array)
    throw JsonError("Objeto JSON só é aceito na forma {\"fields\":[...],\"rows\":[...]}.");
  DataPacket p;
  for (const Json& f : fields->items) p.fields.push_back(FieldFromJson(f));
  for (const Json& r : rows->items) {
    if (r.kind != Json::Kind::Array || r.items.size() != p.fields.size())
      throw JsonError("Cada linha deve ser uma lista com um valor por campo.");
    DataPacket::Row row;
    for (std::size_t i = 0; i < r.items.size(); ++i) row.push_back(CellFromJson(p.fields[i], r.items[i]));
    p.rows.push_back(std::move(row));
  }
  return Variant(std::move(p));
}

void Write(std::string& out, const Variant& v);

void WritePacket(std::string& out, const DataPacket& p) {
  out += "{\"fields\":[";
  for (std::size_t i = 0; i < p.fields.size(); ++i) {
    if (i) out += ',';
    out += "{\"name\":";
    WriteJsonString(out, p.fields[i].name);
    out += ",\"type\":";
    WriteJsonString(out, FieldTypeName(p.fields[i].type));
    out += ",\"size\":" + std::to_string(p.fields[i].size) + "}";
  }
  out += "],\"rows\":[";
  for (std::size_t r = 0; r < p.rows.size(); ++r) {
    if (r) out += ',';
    out += '[';
    for (std::size_t c = 0; c < p.rows[r].size(); ++c) {
      if (c) out += ',';
      Write(out, p.rows[r][c]);
    }
    out += ']';
  }
  out += "]}";
}

void Write(std::string& out, const Variant& v) {
  switch (v.kind()) {
    case Variant::Kind::Null: out += "null"; return;
    case Variant::Kind::Bool: out += v.asBool() ? "true" : "false"; return;
    case Variant::Kind::Int: out += std::to_string(v.asInt()); return;
    case Variant::Kind::Double: WriteJsonDouble(out, v.asDouble()); return;
    case Variant::Kind::Text: WriteJsonString(out, v.asText()); return;
    case Variant::Kind::Date: WriteJsonString(out, FormatDateTime(v.asDate())); return;
    case Variant::Kind::Array: {
      out += '[';
      const auto& a = v.asArray();
      for (std::size_t i = 0; i < a.size(); ++i) {
        if (i) out += ',';
        Write(out, a[i]);
      }
      out += ']';
      return;
    }
    case Variant::Kind::Packet: WritePacket(out, v.asPacket()); return;
  }
}

}  // namespace

Variant VariantFromJson(const Json& j) {
  switch (j.kind) {
    case Json::Kind::Null: return Variant();
    case Json::Kind::Bool: return Variant(j.boolean);
    case Json::Kind::Int: return Variant(j.integer);
    case Json::Kind::Double: return Variant(j.number);
    case Json::Kind::String: return Variant(j.text);
    case Json::Kind::Array: {
      Variant::Array a;
      for (const Json& e : j.items) a.push_back(VariantFromJson(e));
      return Variant(std::move(a));
    }
    case Json::Kind::Object: return PacketFromJson(j);
  }
  return Variant();
}

Variant ArgumentValue(const std::string& arg) {
  Json j;
  try {
    j = ParseJson(arg);
  } catch (const JsonError&) {
    return Variant(arg);
  }
  return VariantFromJson(j);
}

std::string VariantToJson(const Variant& v) {
  std::string out;
  Write(out, v);
  return out;
}

std::string FormatDateTime(DateTime d) {
  if (!std::isfinite(d.days)) return "";
  // Whole days count the date; the fraction, whatever the sign, the time.
  double whole = std::trunc(d.days);
  long long seconds = std::llround(std::fabs(d.days - whole) * 86400.0);
  long day = static_cast<long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += d.days < 0 ? -1 : 1;
  }
  long y;
  unsigned m, dd;
  CivilFromDays(day + kEpochShift, y, m, dd);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02u/%02u/%04ld %02lld:%02lld:%02lld", dd, m, y, seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return buf;
}

bool ParseDateTime(std::string_view s, DateTime& out) {
  unsigned d = 0, m = 0, hh = 0, mi = 0, ss = 0;
  long y = 0;
  int used = 0;
  std::string text(s);
  int n = std::sscanf(text.c_str(), "%2u/%2u/%4ld%n", &d, &m, &y, &used);
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
  if (m < 1 || m > 12 || d < 1 || hh > 23 || mi > 59 || ss > 59) return false;
  static const unsigned kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (d > kDays[m - 1] || (m == 2 && d == 29 && !leap)) return false;
  // Before day zero the time of day still counts away from zero.
  double day = static_cast<double>(DaysFromCivil(y, m, d) - kEpochShift);
  double time = (hh * 3600.0 + mi * 60.0 + ss) / 86400.0;
  out.days = day < 0 ? day - time : day + time;
  return true;
}
