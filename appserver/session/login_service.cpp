#include "session/login_service.h"

#include <optional>
#include <stdexcept>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "net/printable_text.h"
#include "session/caller_session.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "net/refusal.h"

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

}  // namespace

LoginService::LoginService(Storage& storage) : storage_(storage), limits_(storage) {}

std::string LoginService::AddressOf(const std::string& peer) {
  const auto colon = peer.rfind(':');
  return colon == std::string::npos ? peer : peer.substr(0, colon);
}

void LoginService::refuse(CallerSession& caller, const std::string& code, const std::string& why,
                          const std::string& message, Outcome outcome) {
  // A failed login ends whatever login the connection had: it never keeps
  // working as someone while trying to be someone else.
  if (caller.loggedIn()) caller.logIn("", "");
  if (log_) log_(outcome, "login de " + PrintableText(code) + " em " + caller.peer() + " recusado: " + why);
  throw Refusal(message);
}

Variant LoginService::logIn(CallerSession& caller, const std::string& typedCode, const std::string& password) {
  const std::string code = KeyCode(typedCode, 0);
  if (code.empty()) refuse(caller, "(vazio)", "operador não informado", "Operador deve ser informado.");
  if (code.size() > kMaxCodeBytes) refuse(caller, code, "código longo demais", "Operador ou senha inválidos.");
  const std::string address = AddressOf(caller.peer());
  const auto now = LoginLimits::Now();
  std::optional<LoginLimits::Attempt> attempt;
  try {
    attempt.emplace(limits_.begin(code, address, now));
  } catch (const std::runtime_error& e) {
    refuse(caller, code, std::string("não verificado: ") + e.what(), e.what(), Outcome::kLocked);
  }

  const StoredOperator op = ReadOperator(storage_, code);
  const bool matches = OperatorPasswordMatches(password, op.found ? op.digest : DecoyDigest()) && op.found;
  if (!matches) {
    const std::string locks = limits_.failed(*attempt, LoginLimits::Now());
    refuse(caller, code, (op.found ? "senha inválida" : "operador não cadastrado") + locks, "Operador ou senha inválidos.");
  }
  try {
    limits_.succeeded(*attempt, LoginLimits::Now());
  } catch (const std::runtime_error& e) {
    refuse(caller, code, std::string("senha correta, mas bloqueado durante a verificação: ") + e.what(), e.what(),
           Outcome::kLocked);
  }
  if (OperatorPasswordNeedsRehash(op.digest)) {
    // Older digests are short; the full form replaces it now that the password is known.
    InTransaction(storage_, true, [&](Database& db) {
      Statement st = db.prepare("UPDATE OPERADOR SET CDSENHOPER = ?1 WHERE CDOPERADOR = ?2");
      st.bindAll(HashOperatorPassword(password), code).run();
      return Variant();
    });
  }
  caller.logIn(code, op.role);
  if (log_) log_(Outcome::kAccepted, "login de " + PrintableText(code) + " (" + op.role + ") em " + caller.peer() + " aceito");
  return MakeArray({code, op.name, op.role});
}
