// Reading the login environment from the process environment and the two
// texts in it that need parsing.

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>

#include "data/exceptions.h"
#include "data/formats.h"
#include "lib/corvane.h"

namespace {

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
  // A real day of the years 1 to 9999, as every date typed into the system.
  return TryEncodeDate(y, m, d, out);
}

bool SetLoginServers(LoginEnvironment& environment, std::string_view text) {
  const std::optional<std::vector<ServerAddress>> servers = ParseServerList(text);
  if (!servers) return false;
  environment.serverHost = servers->front().host;
  environment.serverPort = servers->front().port;
  environment.servers = servers->size() > 1 ? *servers : std::vector<ServerAddress>{};
  return true;
}

LoginEnvironment LoginEnvironmentFromEnv() {
  LoginEnvironment environment;
  if (const std::string server = Env("DX_SERVER"); !server.empty()) {
    if (!SetLoginServers(environment, server)) throw Exception("DX_SERVER inválido (esperado host:porta): " + server);
  }
  environment.branch = Env("DX_BRANCH");
  environment.branchName = Env("DX_BRANCH_NAME");
  environment.branchLocked = IsTrue(Env("DX_BRANCH_LOCKED"));
  environment.operatorCode = Env("DX_OPERATOR");
  environment.password = Env("DX_PASSWORD");
  environment.serverTls = IsTrue(Env("DX_TLS"));
  environment.serverCaFile = Env("DX_CA");
  if (const std::string date = Env("DX_DATE"); !date.empty()) {
    DateTime day;
    if (!ParseLoginDate(date, day)) throw Exception("DX_DATE inválida (esperado dd/mm/aaaa ou aaaa-mm-dd): " + date);
    environment.processingDate = day;
  }
  return environment;
}
