// dxr10900-server: serves the remote methods over TCP, or writes the demo
// database.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <pthread.h>

#include "admin/login_locks_admin.h"
#include "admin/operator_admin.h"
#include "admin/password_prompt.h"
#include "app_server.h"
#include "audit/audit_report.h"
#include "cli_options.h"
#include "data/process_memory.h"
#include "demo/demo_database.h"
#include "methods/method_support.h"
#include "ops/call_outcome.h"
#include "ops/metered_call.h"
#include "ops/metrics_endpoint.h"
#include "ops/online_backup.h"
#include "ops/server_metrics.h"
#include "session/caller_session.h"
#include "session/login_limits.h"
#include "session/login_service.h"
#include "storage/database_target.h"

#include "net/rpc_server.h"
#include "net/server_log.h"
#include "net/refusal.h"

namespace {

int initDemo(const ServerOptions& o) {
  WriteDemoDatabase(o.db, o.parties, o.demoDate);
  std::cout << "Banco de demonstração gravado em " << storage::RedactedTarget(o.db);
  if (o.parties > 0) std::cout << " (com " << o.parties << " contratantes no orçamento " << demo::kBulkBudget << ")";
  std::cout << std::endl;
  return 0;
}

int addOperator(const ServerOptions& o) {
  AddOperator(o.db, o.addOperator, o.operatorName, o.operatorRole);
  std::cout << "Operador " << o.addOperator << " cadastrado em " << storage::RedactedTarget(o.db)
            << "; defina a senha com --set-password " << o.addOperator << std::endl;
  return 0;
}

int setPassword(const ServerOptions& o) {
  SetOperatorPassword(o.db, o.setPassword, ReadNewPassword(), o.minPasswordLength);
  std::cout << "Senha do operador " << o.setPassword << " gravada." << std::endl;
  return 0;
}

int printAudit(const ServerOptions& o) {
  AppServer app(o.db);  // applies the migrations, so an older file answers too
  std::cout << FormatAuditTable(app.auditTrail(o.since));
  return 0;
}

int backup(const ServerOptions& o) {
  const BackupReport report = BackupDatabase(o.db, o.backup);
  std::cout << "Cópia de " << o.db << " gravada em " << o.backup << ": " << report.pages << " páginas, "
            << report.bytes << " bytes; verificação de integridade: " << report.integrity << std::endl;
  return 0;
}

int printLocks(const ServerOptions& o) {
  std::cout << LoginLocksReport(o.db, LoginLimits::Now());
  return 0;
}

int unlock(const ServerOptions& o) {
  std::cout << UnlockLogin(o.db, o.unlock);
  return 0;
}

int serve(const ServerOptions& o) {
  KeepFreedMemoryForReuse();
  // Block the stop signals before any thread starts, so only the watcher
  // below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  AppServer app(o.db);
  ServerLog log(ServerLog::ParseLevel(o.logLevel).value_or(ServerLog::Level::Info));
  ServerMetrics metrics;
  app.logins().setEventLog([&log, &metrics](LoginService::Outcome outcome, const std::string& line) {
    using Login = ServerMetrics::LoginOutcome;
    metrics.recordLogin(outcome == LoginService::Outcome::kAccepted ? Login::kAccepted
                        : outcome == LoginService::Outcome::kLocked ? Login::kLocked
                                                                    : Login::kRefused);
    log.write(outcome == LoginService::Outcome::kAccepted ? ServerLog::Level::Info : ServerLog::Level::Warning, line);
  });
  RpcServerOptions rpcOptions;
  rpcOptions.maxConnections = o.maxConnections;
  rpcOptions.loginRequired = true;
  rpcOptions.maxAnonymousPerAddress = o.maxConnectionsPerAddress;
  rpcOptions.reservedForLoggedIn = o.reservedConnections;
  rpcOptions.workerThreads = o.workers;
  rpcOptions.log = &log;
  rpcOptions.tlsCertFile = o.tlsCert;
  rpcOptions.tlsKeyFile = o.tlsKey;
  // Each worker opens its database connection, and has it read the schema,
  // before the first client is accepted, so the first calls after a start do
  // not all wait for that.
  rpcOptions.prepareWorker = [&app] {
    if (const std::optional<std::string> why = app.readiness()) throw std::runtime_error(*why);
    app.warmUpConnection();
  };
  RpcServer server(
      [&app, &metrics](RpcConnection& connection, const std::string& method, std::vector<Variant>& args) {
        // Each connection has its caller session from its first call on.
        if (!connection.state) connection.state = std::make_shared<CallerSession>(connection.peer);
        CallerSession& session = *std::static_pointer_cast<CallerSession>(connection.state);
        // The server holds a connection to the limits for anonymous clients
        // until its session has logged in, and again if it loses its login.
        struct NoteLogin {
          RpcConnection& connection;
          CallerSession& session;
          ~NoteLogin() { connection.loggedIn = session.loggedIn(); }
        } noteLogin{connection, session};
        // Labelled by registered names only: a client cannot invent series.
        MeteredCall metered(metrics, app.dispatcher().has(method) ? method : "unknown");
        try {
          return app.call(session, method, args, connection.requestKey);
        } catch (const std::exception& e) {
          metered.failed(OutcomeOfFailure(e));
          throw;
        }
      },
      rpcOptions);
  std::uint16_t port = server.listen(o.host, o.port);
  if (const std::string refusal = PlainTcpRefusal(o, server.listensOnLoopback()); !refusal.empty()) {
    std::cerr << "dxr10900-server: " << refusal << std::endl;
    return 2;
  }
  if (o.tlsCert.empty() && !server.listensOnLoopback())
    log.write(ServerLog::Level::Warning, "servidor sem TLS num endereço da rede (--insecure-plain-tcp): senhas em texto aberto");
  std::cout << "listening on " << o.host << ":" << port << std::endl;
  std::optional<MetricsEndpoint> endpoint;
  if (o.metricsPort) {
    ServerMetrics::Gauges gauges;
    gauges.anonymousConnections = [&server] { return server.stats().anonymousConnections; };
    gauges.loggedInConnections = [&server] { return server.stats().loggedInConnections; };
    gauges.connectionsRefused = [&server] { return server.stats().refusedConnections; };
    gauges.queuedCalls = [&server] { return server.stats().queuedCalls; };
    gauges.databaseSizeBytes = [&app] { return app.databaseSizeBytes(); };
    gauges.serializationRetries = [] { return TransactionConflictCounts().reruns; };
    gauges.busyRefusals = [] { return TransactionConflictCounts().busyRefusals; };
    metrics.setGauges(std::move(gauges));
    endpoint.emplace(metrics, [&app] { return app.readiness(); });
    const std::uint16_t metricsPort = endpoint->start(o.metricsHost, *o.metricsPort);
    std::cout << "metrics on " << o.metricsHost << ":" << metricsPort << std::endl;
    log.write(ServerLog::Level::Info, "métricas, /healthz e /readyz em http://" + o.metricsHost + ":" +
                                          std::to_string(metricsPort));
  }
  log.write(ServerLog::Level::Info, "servidor " + storage::RedactedTarget(o.db) + " ouvindo em " + o.host + ":" + std::to_string(port) +
                                        " (até " + std::to_string(o.maxConnections) + " conexões" +
                                        (o.tlsCert.empty() ? "" : ", TLS") + ")");

  std::atomic<bool> served{false};
  std::thread watcher([&server, &log, &served, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    if (served) return;
    log.write(ServerLog::Level::Info, std::string("sinal ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") +
                                          " recebido: as chamadas em andamento terminam antes do fim");
    server.stop();
  });
  server.run();
  // run() may also end without a signal; wake the watcher so it can be joined.
  served = true;
  pthread_kill(watcher.native_handle(), SIGTERM);
  watcher.join();
  log.write(ServerLog::Level::Info, "servidor encerrado");
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
    if (options.initDemo) return initDemo(options);
    if (options.audit) return printAudit(options);
    if (!options.backup.empty()) return backup(options);
    if (!options.addOperator.empty()) return addOperator(options);
    if (!options.setPassword.empty()) return setPassword(options);
    if (options.locks) return printLocks(options);
    if (!options.unlock.empty()) return unlock(options);
    return serve(options);
  } catch (const std::exception& e) {
    std::cerr << "dxr10900-server: " << e.what() << std::endl;
    return 1;
  }
}
