// dxr10900-server: serves the remote methods over TCP, or writes the demo
// database.

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <pthread.h>

#include "app_server.h"
#include "cli_options.h"
#include "demo/demo_database.h"

#include "net/rpc_server.h"

namespace {

int initDemo(const ServerOptions& o) {
  WriteDemoDatabase(o.db, o.parties);
  std::cout << "Banco de demonstração gravado em " << o.db;
  if (o.parties > 0) std::cout << " (com " << o.parties << " contratantes no orçamento " << demo::kBulkBudget << ")";
  std::cout << std::endl;
  return 0;
}

int serve(const ServerOptions& o) {
  // Block the stop signals before any thread starts, so only the watcher
  // below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  AppServer app(o.db);
  RpcServer server([&app](const std::string& method, std::vector<Variant>& args) { return app.call(method, args); });
  std::uint16_t port = server.listen(o.host, o.port);
  std::cout << "listening on " << o.host << ":" << port << std::endl;

  std::thread watcher([&server, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  server.run();
  // run() may also end without a signal; wake the watcher so it can be joined.
  pthread_kill(watcher.native_handle(), SIGTERM);
  watcher.join();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ServerOptions options;
  try {
    options = ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    std::cerr << e.what() << "\n" << ServerUsage();
    return 2;
  }
  if (options.help) {
    std::cout << ServerUsage();
    return 0;
  }
  if (options.version) {
    std::cout << "dxr10900-server " DX_VERSION "\n";
    return 0;
  }
  try {
    return options.initDemo ? initDemo(options) : serve(options);
  } catch (const std::exception& e) {
    std::cerr << "dxr10900-server: " << e.what() << std::endl;
    return 1;
  }
}
