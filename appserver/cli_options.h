#pragma once
// The command line of dxr10900-server.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "net/refusal.h"

struct ServerOptions {
  std::string db;
  bool initDemo = false;
  int parties = 0;
  std::optional<double> demoDate;  // --demo-date: the demo's business day, days since 30/12/1899
  std::string host;
  std::uint16_t port = 0;
  bool listen = false;
  std::size_t maxConnections = 256;
  std::size_t maxConnectionsPerAddress = 32;  // not yet logged in, per client address
  std::size_t reservedConnections = 32;       // kept for logged-in connections
  std::size_t workers = 8;                    // calls answered at once, each on its own database connection
  bool insecurePlainTcp = false;              // plain TCP on an address other machines reach
  std::size_t minPasswordLength = 8;          // for --set-password
  std::string logLevel = "info";  // error, warning, info or debug
  std::string tlsCert, tlsKey;    // PEM files; both or neither: TLS on every connection
  std::string addOperator;        // --add-operator CODE (with operatorName and operatorRole)
  std::string operatorName, operatorRole;
  std::string setPassword;        // --set-password CODE
  std::string metricsHost;                  // --metrics-listen: the operations port
  std::optional<std::uint16_t> metricsPort;  // unset: no operations port
  std::string backup;     // --backup OUT: an online copy of the SQLite database
  bool locks = false;             // list the login locks
  std::string unlock;             // --unlock CODE: clear an operator's (or address's) locks
  bool audit = false;     // print the audit trail
  std::string since;      // YYYY-MM-DD: the trail from that day on
  bool help = false;
  bool version = false;
};

// Throws std::invalid_argument with a message for the user on a bad command
// line.
ServerOptions ParseServerOptions(const std::vector<std::string>& args);

// Why the server must not serve plain TCP where it was told to listen
// (`loopback`: whether that address is this machine's alone); empty when it
// may: TLS is on, the address is loopback, or the insecure option says so.
std::string PlainTcpRefusal(const ServerOptions& options, bool loopback);

const char* ServerUsage();
