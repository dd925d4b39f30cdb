#include "login_setup.h"

#include <exception>
#include <optional>

#include "hostdb/branch_record.h"

#include "hostdb/host_database.h"
#include "lib/corvane.h"

void completeFromBranch(HostOptions& options) {
  if (!options.branchName.isEmpty()) return;
  const std::optional<BranchRecord> branch =
      LookUpBranch(options.databasePath.toStdString(), options.branch.toStdString());
  if (branch) options.branchName = QString::fromStdString(branch->name);
}

void applyLoginEnvironment(const HostOptions& options) {
  LoginEnvironment env;
  env.branch = options.branch.toStdString();
  env.branchName = options.branchName.toStdString();
  env.branchLocked = options.branchLocked;
  env.operatorCode = options.operatorCode.toStdString();
  // The options were checked when parsed, so a date given reads; without one
  // the module works on the branch's own processing date.
  DateTime day;
  if (ParseLoginDate(options.processingDate.toStdString(), day)) env.processingDate = day;
  env.serverHost = options.serverHost.toStdString();
  env.serverPort = options.serverPort;
  env.servers = options.servers;
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
