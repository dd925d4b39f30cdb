#include "lib/corvane.h"

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
DateTime DataProc([[maybe_unused]] std::string_view branch) { return Current().processingDate; }
std::string Operador() { return Current().operatorCode; }
std::string SenhaOperador() { return Current().password; }
std::string WebURL() { return Current().serverHost; }
int WebPort() { return Current().serverPort; }

std::string DBPict(int kind) {
  if (kind == 0) return ">aaaaaaaaaaaaaaaaaaaa;0; ";
  return "";
}
