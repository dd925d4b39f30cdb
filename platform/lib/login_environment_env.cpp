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

std::string ProcessVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

bool IsYes(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  std::string word(text);
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word == "1" || word == "true" || word == "yes" || word == "s" || word == "sim" || word == "on";
}

LoginVariables ReadLoginVariables(const EnvironmentReader& env) {
  LoginVariables v;
  v.server = env("DX_SERVER");
  v.branch = env("DX_BRANCH");
  v.branchName = env("DX_BRANCH_NAME");
  v.branchLocked = IsYes(env("DX_BRANCH_LOCKED"));
  v.operatorCode = env("DX_OPERATOR");
  v.password = env("DX_PASSWORD");
  v.tls = IsYes(env("DX_TLS"));
  v.caFile = env("DX_CA");
  v.date = env("DX_DATE");
  return v;
}

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
  const LoginVariables v = ReadLoginVariables(ProcessVariable);
  LoginEnvironment environment;
  if (!v.server.empty() && !SetLoginServers(environment, v.server))
    throw Exception("DX_SERVER inválido (esperado host:porta): " + v.server);
  environment.branch = v.branch;
  environment.branchName = v.branchName;
  environment.branchLocked = v.branchLocked;
  environment.operatorCode = v.operatorCode;
  environment.password = v.password;
  environment.serverTls = v.tls;
  environment.serverCaFile = v.caFile;
  if (!v.date.empty()) {
    DateTime day;
    if (!ParseLoginDate(v.date, day)) throw Exception("DX_DATE inválida (esperado dd/mm/aaaa ou aaaa-mm-dd): " + v.date);
    environment.processingDate = day;
  }
  return environment;
}
