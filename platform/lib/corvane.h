#pragma once
// Unit Corvane: the login environment the host hands to the module — who is
// logged in, on which branch and date, and where the application server is.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "data/variant.h"
#include "net/server_address.h"

struct LoginEnvironment {
  std::string branch;          // FiliProc, e.g. "0001"
  std::string branchName;      // NomeFiliProc
  bool branchLocked = false;   // ModuFili: the screen is bound to the branch
  std::string operatorCode;    // Operador
  // DataProc when set: an explicit override of the branch's own processing date.
  std::optional<DateTime> processingDate;
  std::string serverHost = "127.0.0.1";  // WebURL
  int serverPort = 0;          // WebPort; 0 until the host says where the server is
  // Every server of the site when several were given (the first is
  // serverHost:serverPort); the connection moves to the next when one fails.
  std::vector<ServerAddress> servers;
  std::string password;        // the operator's, for the server's login; never shown or stored
  bool serverTls = false;      // the server speaks TLS
  std::string serverCaFile;    // PEM of a private CA to trust, besides the system's
};

// Replaces the environment the routines below read; the host calls it once
// at start, tests whenever they need another login.
void SetLoginEnvironment(LoginEnvironment environment);
const LoginEnvironment& CurrentLoginEnvironment();

// Defaults for the host, from the process environment:
//   DX_SERVER=host:port ("[::1]:port" for IPv6, "host:port,host:port" for
//   several servers), DX_BRANCH, DX_BRANCH_NAME,
//   DX_BRANCH_LOCKED (1/s/sim/true/yes/on, any case), DX_OPERATOR, DX_PASSWORD,
//   DX_TLS (same words), DX_CA (a CA file), DX_DATE (dd/mm/yyyy or
//   yyyy-mm-dd; an override of the branch's processing date, for scripted
//   runs; unset when absent). A malformed DX_SERVER or DX_DATE raises
//   Exception naming the variable, rather than connecting somewhere else.
LoginEnvironment LoginEnvironmentFromEnv();

// The login variables as the environment holds them, before any parsing:
// the one list of names the host, distrato-script and the tools read.
struct LoginVariables {
  std::string server, branch, branchName, operatorCode, password, caFile, date;
  bool branchLocked = false, tls = false;  // IsYes of DX_BRANCH_LOCKED, DX_TLS
};
// A variable's value by name, "" when unset.
using EnvironmentReader = std::function<std::string(const char* name)>;
LoginVariables ReadLoginVariables(const EnvironmentReader& env);
// The words a yes/no variable or option accepts: 1, s, sim, true, yes, on,
// in any case, with blanks around.
bool IsYes(std::string_view text);

// Points the login at the servers of `text` ("host:port" or a list, see
// net/server_address.h); false, leaving it alone, when the text is malformed.
bool SetLoginServers(LoginEnvironment& environment, std::string_view text);

// Parses "dd/mm/yyyy" or "yyyy-mm-dd"; false when the text is no valid date.
bool ParseLoginDate(std::string_view text, DateTime& out);

std::string FiliProc();
std::string NomeFiliProc();
bool ModuFili();
// The processing date of a branch: the business day of every rule. The
// login's override when it has one; else the branch's own, read from the
// host's database (table FILIAL, where the application server reads it too);
// else, for a branch that keeps none, today.
DateTime DataProc(std::string_view branch);
std::string Operador();
// The operator's password, for logging the connection in.
std::string SenhaOperador();
std::string WebURL();
int WebPort();

// Edit mask for a coded value by picture type. Type 0 is the product code:
// up to 20 letters or digits, upper-cased, literals not stored, blank as the
// placeholder. Unknown types have no mask (empty text: free typing).
std::string DBPict(int kind);
