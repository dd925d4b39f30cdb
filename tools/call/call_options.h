#pragma once
// The command line of dxr10900-call: options first (DX_SERVER and
// DX_OPERATOR stand in for --server and --operator), then the method and its
// arguments, or --stdin for one call per line of standard input.

#include <string>
#include <vector>

#include "net/server_address.h"

struct CallOptions {
  std::vector<ServerAddress> servers;
  bool refs = false;
  int timeoutMs = 60000;
  std::string serverName = "DXR10900.RDMDISTRATO";
  std::string operatorCode;
  std::string passwordFile;  // the password's first line; else DX_PASSWORD, never the command line
  bool fromStdin = false;
  bool tls = false;
  std::string caFile;
  std::string method;
  std::vector<std::string> args;
  bool help = false;
  bool version = false;
};

// Throws std::invalid_argument saying what is wrong, for the usage to follow.
CallOptions ParseCallOptions(const std::vector<std::string>& args);

const char* CallUsage();
