#pragma once
// distrato-script [--server HOST:PORT] [--module PATH] [--database FILE] SCRIPT

#include <string>
#include <vector>

namespace dxscript {

struct CliOptions {
  std::string server;    // overrides DX_SERVER
  std::string module;    // the module library; empty: next to the program
  std::string database;  // the host's database (branch table)
  bool tls = false;      // overrides DX_TLS
  std::string ca;        // overrides DX_CA
  std::string script;
  bool help = false;
  bool version = false;
};

// Throws std::invalid_argument with a message for the user.
CliOptions ParseCliOptions(const std::vector<std::string>& args);
const char* Usage();

}  // namespace dxscript
