#pragma once
// A real dxr10900-server on a temporary demo database holding the bulk
// budget with a given number of parties, listening on a free loopback port.
// It is stopped and its files removed when the object goes away.

#include <sys/types.h>

#include <cstdio>
#include <string>

class ServerProcess {
 public:
  explicit ServerProcess(int parties);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  const std::string& database() const { return db_; }

  // The server program: $DXR10900_SERVER when set, else the one built here.
  static std::string Program();

 private:
  std::string dir_, db_;
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int port_ = 0;
};
