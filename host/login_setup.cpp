#include "login_setup.h"

#include <exception>

#include "hostdb/host_database.h"
#include "lib/corvane.h"

void applyLoginEnvironment(const HostOptions& options) {
  LoginEnvironment env;
  env.branch = options.branch.toStdString();
  env.branchName = options.branchName.toStdString();
  env.branchLocked = options.branchLocked;
  env.operatorCode = options.operatorCode.toStdString();
  // The options were checked when parsed, so the date reads.
  ParseLoginDate(options.processingDate.toStdString(), env.processingDate);
  env.serverHost = options.serverHost.toStdString();
  env.serverPort = options.serverPort;
  env.password = options.password.toStdString();
  env.serverTls = options.tls;
  env.serverCaFile = options.caFile.toStdString();
  SetLoginEnvironment(env);
}

QString openHostDatabase(const HostOptions& options) {
  if (options.databasePath.isEmpty()) return {};
  try {
    dtmDBGeral().Open(options.databasePath.toStdString());
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  }
  return {};
}
