#include "workspace/statement_command.h"

namespace workspace {

namespace {
bool InRescission(const std::string& proc) { return proc == "S" || proc == "C"; }
}  // namespace

bool TermoDistratoAvailable(const StatementInputs& in) {
  if (in.listEmpty || in.listEditing || in.IDORIGEMINCLUSAO == "DISTRATO") return false;
  return InRescission(in.IDCONTPROCESDIST) || in.undone;
}

bool InTotalStatement(const std::string& IDTPDISTRATOREALI, const std::string& IDCONTPROCESDIST,
                      const std::string& IDORIGEMINCLUSAO) {
  return IDTPDISTRATOREALI == "TOTAL" && InRescission(IDCONTPROCESDIST) && IDORIGEMINCLUSAO != "DISTRATO";
}

std::string StatementKey(const std::string& seq, const std::string& client, const std::string& address) {
  return seq + "|" + client + "|" + address;
}

}  // namespace workspace
