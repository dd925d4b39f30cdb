// Reading the login environment from the process environment and the two
// texts in it that need parsing.

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <ctime>

#include "data/exceptions.h"
#include "lib/corvane.h"

namespace {

// Days from 01/01/1970 to a civil date (proleptic Gregorian).
long DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

DateTime DateFromCivil(int y, unsigned m, unsigned d) {
  return DateTime{static_cast<double>(DaysFromCivil(y, m, d) - DaysFromCivil(1899, 12, 30))};
}

bool ValidCivil(int y, int m, int d) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

bool ParseInt(std::string_view text, int& out) {
  if (text.empty()) return false;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The same words the host's own options accept.
bool IsTrue(std::string text) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  while (!text.empty() && blank(static_cast<unsigned char>(text.back()))) text.pop_back();
  while (!text.empty() && blank(static_cast<unsigned char>(text.front()))) text.erase(0, 1);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text == "1" || text == "true" || text == "yes" || text == "s" || text == "sim" || text == "on";
}

DateTime Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                       static_cast<unsigned>(local.tm_mday));
}

}  // namespace

bool ParseLoginDate(std::string_view text, DateTime& out) {
  int y = 0, m = 0, d = 0;
  if (text.size() == 10 && text[2] == '/' && text[5] == '/') {
    if (!ParseInt(text.substr(0, 2), d) || !ParseInt(text.substr(3, 2), m) || !ParseInt(text.substr(6, 4), y)) return false;
  } else if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    if (!ParseInt(text.substr(0, 4), y) || !ParseInt(text.substr(5, 2), m) || !ParseInt(text.substr(8, 2), d)) return false;
  } else {
    return false;
  }
  if (!ValidCivil(y, m, d)) return false;
  out = DateFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
  return true;
}

bool ParseServerAddress(std::string_view text, std::string& host, int& port) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string_view name = text.substr(0, colon);
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  int number = 0;
  if (name.empty() || !ParseInt(text.substr(colon + 1), number) || number < 1 || number > 65535) return false;
  host = std::string(name);
  port = number;
  return true;
}

LoginEnvironment LoginEnvironmentFromEnv() {
  LoginEnvironment environment;
  if (const std::string server = Env("DX_SERVER"); !server.empty()) {
    if (!ParseServerAddress(server, environment.serverHost, environment.serverPort))
      throw Exception("DX_SERVER inválido (esperado host:porta): " + server);
  }
  environment.branch = Env("DX_BRANCH");
  environment.branchName = Env("DX_BRANCH_NAME");
  environment.branchLocked = IsTrue(Env("DX_BRANCH_LOCKED"));
  environment.operatorCode = Env("DX_OPERATOR");
  if (const std::string date = Env("DX_DATE"); !date.empty()) {
    if (!ParseLoginDate(date, environment.processingDate))
      throw Exception("DX_DATE inválida (esperado dd/mm/aaaa): " + date);
  } else {
    environment.processingDate = Today();
  }
  return environment;
}
