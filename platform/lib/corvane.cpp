#include "lib/corvane.h"

#include <optional>

#include "data/civil_date.h"
#include "data/formats.h"
#include "hostdb/branch_record.h"
#include "hostdb/host_database.h"

namespace {

LoginEnvironment& Current() {
  static LoginEnvironment environment;
  return environment;
}

}  // namespace

void SetLoginEnvironment(LoginEnvironment environment) { Current() = std::move(environment); }
const LoginEnvironment& CurrentLoginEnvironment() { return Current(); }

std::string FiliProc() { return Current().branch; }
std::string NomeFiliProc() { return Current().branchName; }
bool ModuFili() { return Current().branchLocked; }
DateTime DataProc(std::string_view branch) {
  if (Current().processingDate) return *Current().processingDate;
  // The branch's own business day, from the row the application server reads too.
  if (dtmDBGeral().Connected()) {
    const std::optional<BranchRecord> record = ReadBranch(dtmDBGeral(), std::string(branch));
    if (record && record->processingDate) return *record->processingDate;
  }
  // A branch that keeps no processing date works on today, as the server does.
  return DateTime{TodayDays()};
}
std::string Operador() { return Current().operatorCode; }
std::string SenhaOperador() { return Current().password; }
std::string WebURL() { return Current().serverHost; }
int WebPort() { return Current().serverPort; }

std::string DBPict(int kind) {
  if (kind == 0) return ">aaaaaaaaaaaaaaaaaaaa;0; ";
  return "";
}
