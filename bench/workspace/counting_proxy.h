#pragma once
// A loopback relay between the screen and the real server that counts the
// remote calls passing through it, by method, and times their answers (the
// server's work, the upstream transfer and decoding). The screen cannot tell it from
// the server; it only adds one hop to every call, so times are measured
// without it and round trips with it.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/variant.h"
#include "net/net_connection.h"
#include "net/rpc_server.h"

class CountingProxy {
 public:
  explicit CountingProxy(int upstreamPort);
  ~CountingProxy();
  CountingProxy(const CountingProxy&) = delete;
  CountingProxy& operator=(const CountingProxy&) = delete;

  int port() const { return port_; }
  struct Tally {
    std::int64_t calls = 0;
    double seconds = 0;  // waiting for the server's answers
  };
  // Calls relayed so far, by method.
  std::map<std::string, Tally> Counts() const;

 private:
  Variant Relay(const std::string& method, std::vector<Variant>& args);

  mutable std::mutex mutex_;
  std::map<std::string, Tally> counts_;
  TNetConnection upstream_;  // one call at a time, under mutex_
  std::unique_ptr<RpcServer> server_;
  std::thread serving_;
  int port_ = 0;
};
