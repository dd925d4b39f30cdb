#pragma once
// Where the application server is, as people write it: "host:port", or
// several servers of one site as "host:port,host:port" (tried in that order
// when one cannot be reached). An IPv6 address goes in brackets, "[::1]:7100".
// The one reading of these texts for every program and the environment.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ServerAddress {
  std::string host;
  int port = 0;
  bool operator==(const ServerAddress&) const = default;
};

// "host:port" with the port from `lowestPort` (0 lets a server pick a free
// one) to 65535; false, leaving host and port alone, for anything else (no
// host, no port, a port that is not a number or out of range).
bool ParseServerAddress(std::string_view text, std::string& host, int& port, int lowestPort = 1);

// One address or several separated by commas (blanks around each ignored);
// nullopt when the list is empty or any of its addresses is malformed.
std::optional<std::vector<ServerAddress>> ParseServerList(std::string_view text);

// "host:port", an IPv6 host in brackets.
std::string FormatServerAddress(const ServerAddress& address);
// The addresses as ParseServerList reads them back.
std::string FormatServerList(const std::vector<ServerAddress>& list);
