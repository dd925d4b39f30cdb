#include <cmath>
#include <cstdio>

#include "data/civil_date.h"
#include "data/exceptions.h"
#include "formats.h"

namespace {

constexpr double kMsPerDay = 86400000.0;

// Milliseconds into the day, rounded, so 0.99999999 of a day is not 23:59:59.
long TimeMs(DateTime value) {
  double frac = value.days - std::floor(value.days);
  return std::lround(frac * kMsPerDay);
}

// Day number and time of day, carrying a time that rounds up to midnight. A
// value outside the calendar (one a server sent, or NaN) has no day to show
// and no integer to hold it: refused rather than converted.
void Split(DateTime value, long& day, long& ms) {
  if (!(value.days >= kFirstCalendarDay && value.days < kLastCalendarDay + 1))
    throw Exception("Data fora do calendário (01/01/0001 a 31/12/9999).");
  day = static_cast<long>(std::floor(value.days));
  ms = TimeMs(value);
  if (ms >= static_cast<long>(kMsPerDay)) {
    ++day;
    ms = 0;
  }
}

std::string Pad(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}

// Reads 1..maxLen digits at s[i]; false when there are none or too many.
bool ReadNumber(std::string_view s, std::size_t& i, int minLen, int maxLen, int& out) {
  std::size_t start = i;
  out = 0;
  // Digits past maxLen are only counted: a long run typed by a user must not overflow.
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    if (i - start < static_cast<std::size_t>(maxLen)) out = out * 10 + (s[i] - '0');
    ++i;
  }
  const std::size_t len = i - start;
  return len >= static_cast<std::size_t>(minLen) && len <= static_cast<std::size_t>(maxLen);
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, DateTime& out) {
  if (year < 1 || year > 9999 || !IsRealDay(year, month, day)) return false;
  out = DateTime{DaysFromCivil(year, month, day)};
  return true;
}

DateTime EncodeDate(int year, int month, int day) {
  DateTime out;
  if (!TryEncodeDate(year, month, day, out))
    throw Exception("Data inválida: " + Pad(day, 2) + "/" + Pad(month, 2) + "/" + Pad(year, 4));
  return out;
}

DateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    throw Exception("Hora inválida: " + Pad(hour, 2) + ":" + Pad(minute, 2) + ":" + Pad(second, 2));
  return DateTime{((hour * 60.0 + minute) * 60.0 + second + millisecond / 1000.0) / 86400.0};
}

void DecodeDate(DateTime value, int& year, int& month, int& day) {
  long d, ms;
  Split(value, d, ms);
  const CivilDate date = CivilFromDays(static_cast<double>(d));
  year = date.year;
  month = date.month;
  day = date.day;
}

void DecodeTime(DateTime value, int& hour, int& minute, int& second, int& millisecond) {
  long d, ms;
  Split(value, d, ms);
  millisecond = static_cast<int>(ms % 1000);
  long s = ms / 1000;
  second = static_cast<int>(s % 60);
  minute = static_cast<int>(s / 60 % 60);
  hour = static_cast<int>(s / 3600);
}

DateTime DateOf(DateTime value) {
  long d, ms;
  Split(value, d, ms);
  return DateTime{static_cast<double>(d)};
}

bool HasTime(DateTime value) {
  long d, ms;
  Split(value, d, ms);
  return ms / 1000 != 0;
}

std::string FormatDateTime(std::string_view format, DateTime value) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(value, y, mo, d);
  DecodeTime(value, h, mi, s, ms);
  std::string out;
  bool afterHour = false;
  for (std::size_t i = 0; i < format.size();) {
    char c = format[i];
    char lc = static_cast<char>(c | 0x20);
    std::size_t run = 1;
    while (i + run < format.size() && (format[i + run] | 0x20) == lc) ++run;
    if (c == '"' || c == '\'') {
      std::size_t end = format.find(c, i + 1);
      if (end == std::string_view::npos) end = format.size();
      out += format.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    switch (lc) {
      case 'd': out += run >= 2 ? Pad(d, 2) : std::to_string(d); afterHour = false; break;
      case 'y': out += run >= 3 ? Pad(y, 4) : Pad(y % 100, 2); afterHour = false; break;
      case 'm':
        if (afterHour) out += run >= 2 ? Pad(mi, 2) : std::to_string(mi);
        else out += run >= 2 ? Pad(mo, 2) : std::to_string(mo);
        afterHour = false;
        break;
      case 'h': out += run >= 2 ? Pad(h, 2) : std::to_string(h); afterHour = true; break;
      case 'n': out += run >= 2 ? Pad(mi, 2) : std::to_string(mi); afterHour = false; break;
      case 's': out += run >= 2 ? Pad(s, 2) : std::to_string(s); afterHour = false; break;
      default: out += format.substr(i, run); break;
    }
    i += run;
  }
  return out;
}

std::string FormatDate(DateTime value) { return FormatDateTime("dd/mm/yyyy", value); }

std::string DateTimeToStr(DateTime value) {
  return HasTime(value) ? FormatDateTime("dd/mm/yyyy hh:nn:ss", value) : FormatDate(value);
}

std::optional<DateTime> ParseDate(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::nullopt;
  std::size_t e = text.find_last_not_of(' ');
  std::string_view s = text.substr(b, e - b + 1);
  std::size_t i = 0;
  int d, m, y;
  if (!ReadNumber(s, i, 1, 2, d) || i >= s.size() || s[i++] != '/') return std::nullopt;
  if (!ReadNumber(s, i, 1, 2, m) || i >= s.size() || s[i++] != '/') return std::nullopt;
  if (!ReadNumber(s, i, 4, 4, y)) return std::nullopt;
  DateTime date;
  if (!TryEncodeDate(y, m, d, date)) return std::nullopt;
  if (i == s.size()) return date;
  while (i < s.size() && s[i] == ' ') ++i;
  int h, mi, sec = 0;
  if (!ReadNumber(s, i, 1, 2, h) || i >= s.size() || s[i++] != ':') return std::nullopt;
  if (!ReadNumber(s, i, 2, 2, mi)) return std::nullopt;
  if (i < s.size()) {
    if (s[i++] != ':' || !ReadNumber(s, i, 2, 2, sec)) return std::nullopt;
  }
  if (i != s.size() || h > 23 || mi > 59 || sec > 59) return std::nullopt;
  return DateTime{date.days + EncodeTime(h, mi, sec).days};
}

DateTime StrToDate(std::string_view text) {
  if (auto v = ParseDate(text)) return *v;
  throw Exception("'" + std::string(text) + "' não é uma data válida");
}
