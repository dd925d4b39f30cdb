#include "server_address.h"

#include <charconv>

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool ParseServerAddress(std::string_view text, std::string& host, int& port, int lowestPort) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string_view name = text.substr(0, colon);
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  const std::string_view digits = text.substr(colon + 1);
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (name.empty() || digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      number < lowestPort || number > 65535)
    return false;
  host = std::string(name);
  port = number;
  return true;
}

std::optional<std::vector<ServerAddress>> ParseServerList(std::string_view text) {
  std::vector<ServerAddress> list;
  while (true) {
    const std::size_t comma = text.find(',');
    ServerAddress address;
    if (!ParseServerAddress(Trimmed(text.substr(0, comma)), address.host, address.port)) return std::nullopt;
    list.push_back(std::move(address));
    if (comma == std::string_view::npos) return list;
    text.remove_prefix(comma + 1);
  }
}

std::string FormatServerAddress(const ServerAddress& address) {
  const bool ipv6 = address.host.find(':') != std::string::npos;
  return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

std::string FormatServerList(const std::vector<ServerAddress>& list) {
  std::string text;
  for (const ServerAddress& address : list) text += (text.empty() ? "" : ",") + FormatServerAddress(address);
  return text;
}
