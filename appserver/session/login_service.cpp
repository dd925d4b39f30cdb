#include "session/login_service.h"

#include <stdexcept>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "session/caller_session.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"

using namespace std::chrono_literals;

namespace {

struct StoredOperator {
  bool found = false;
  std::string name, digest, role;
};

StoredOperator ReadOperator(Storage& storage, const std::string& code) {
  StoredOperator op;
  InTransaction(storage, false, [&](Database& db) {
    Statement st = db.prepare("SELECT NMOPERADOR, COALESCE(CDSENHOPER, ''), IDPAPEL FROM OPERADOR WHERE CDOPERADOR = ?1");
    st.bind(1, code);
    if (st.step()) {
      op.found = true;
      op.name = st.text(0);
      op.digest = st.text(1);
      op.role = st.text(2);
    }
    return Variant();
  });
  return op;
}

// An unknown operator costs the same check as a known one, so the time of a
// refusal does not tell which codes exist.
const std::string& DecoyDigest() {
  static const std::string digest = HashOperatorPassword("decoy");
  return digest;
}

std::string Minutes(FailedAttempts::Clock::duration wait) {
  const auto minutes = std::chrono::ceil<std::chrono::minutes>(wait).count();
  return std::to_string(minutes) + (minutes == 1 ? " minuto" : " minutos");
}

}  // namespace

LoginService::LoginService(Storage& storage) : storage_(storage), addressFailures_(kMaxFailuresPerAddress, 15min, 15min) {}

std::string LoginService::AddressOf(const std::string& peer) {
  const auto colon = peer.rfind(':');
  return colon == std::string::npos ? peer : peer.substr(0, colon);
}

void LoginService::refuse(CallerSession& caller, const std::string& code, const std::string& why,
                          const std::string& message) {
  // A failed login ends whatever login the connection had: it never keeps
  // working as someone while trying to be someone else.
  if (caller.loggedIn()) caller.logIn("", "");
  if (log_) log_(false, "login de " + code + " em " + caller.peer() + " recusado: " + why);
  throw std::runtime_error(message);
}

Variant LoginService::logIn(CallerSession& caller, const std::string& typedCode, const std::string& password) {
  const std::string code = KeyCode(typedCode, 0);
  const std::string address = AddressOf(caller.peer());
  const auto now = FailedAttempts::Clock::now();
  if (code.empty()) refuse(caller, "(vazio)", "operador não informado", "Operador deve ser informado.");
  if (auto wait = addressFailures_.lockedFor(address, now); wait > wait.zero())
    refuse(caller, code, "endereço bloqueado",
           "Tentativas de login inválidas demais deste endereço. Tente novamente em " + Minutes(wait) + ".");
  FailedAttempts& operatorFailures = OperatorPasswordFailures();
  if (auto wait = operatorFailures.lockedFor(code, now); wait > wait.zero())
    refuse(caller, code, "operador bloqueado",
           "Operador " + code + " bloqueado por tentativas de senha inválidas. Tente novamente em " + Minutes(wait) + ".");

  const StoredOperator op = ReadOperator(storage_, code);
  const bool matches = OperatorPasswordMatches(password, op.found ? op.digest : DecoyDigest()) && op.found;
  if (!matches) {
    const bool operatorLocked = operatorFailures.recordFailure(code, now);
    const bool addressLocked = addressFailures_.recordFailure(address, now);
    std::string why = op.found ? "senha inválida" : "operador não cadastrado";
    if (operatorLocked) why += "; operador bloqueado por 15 minutos";
    if (addressLocked) why += "; endereço bloqueado por 15 minutos";
    refuse(caller, code, why, "Operador ou senha inválidos.");
  }
  operatorFailures.recordSuccess(code);
  addressFailures_.recordSuccess(address);
  if (OperatorPasswordNeedsRehash(op.digest)) {
    // Older digests are short; the full form replaces it now that the password is known.
    InTransaction(storage_, true, [&](Database& db) {
      Statement st = db.prepare("UPDATE OPERADOR SET CDSENHOPER = ?1 WHERE CDOPERADOR = ?2");
      st.bindAll(HashOperatorPassword(password), code).run();
      return Variant();
    });
  }
  caller.logIn(code, op.role);
  if (log_) log_(true, "login de " + code + " (" + op.role + ") em " + caller.peer() + " aceito");
  return MakeArray({code, op.name, op.role});
}
