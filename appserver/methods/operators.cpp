// The operators who may approve an undo (GetOperador) and the check of their
// password on the server (ConfirmaSenhaOperador). Rules in appserver/README.md,
// "Undoing a rescission".

#include <chrono>
#include <optional>
#include <string>

#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "methods/operator_store.h"
#include "session/caller_session.h"
#include "session/failed_attempts.h"
#include "session/operator_password.h"
#include "storage/database.h"
#include "net/refusal.h"

namespace {

using namespace std::chrono_literals;

// Supervisors and managers, one ("code") or all ("T").
Variant GetOperador(Database& db, const protocol::GetOperador& args) {
  return Variant(operator_store::Approvers(db, KeyCode(args.codigo, 0)));
}

std::string LockedOutText(FailedAttempts::Clock::duration left) {
  const auto minutes = std::chrono::ceil<std::chrono::minutes>(left).count();
  return "Confirmação de senha bloqueada nesta conexão por excesso de tentativas inválidas. Tente novamente em " +
         std::to_string(minutes) + (minutes == 1 ? " minuto." : " minutos.");
}

// True when `senha` is the password of a supervisor or manager; the calling
// connection is then approved for one undo. Each wrong password counts
// against the connection that tried (CallerSession::confirmationFailures);
// the fifth within 15 minutes stops its confirmations for a while. The slow
// check runs outside any transaction, so no writer waits for it.
Variant ConfirmaSenhaOperador(Storage& storage, const protocol::ConfirmaSenhaOperador& args, CallerSession& caller) {
  const std::string code = KeyCode(args.codigo, 0);
  FailedAttempts& failures = caller.confirmationFailures();
  const std::string key = CallerSession::kConfirmationKey;
  const auto now = FailedAttempts::Clock::now();
  if (const auto left = failures.lockedFor(key, now); left > 0s) throw Refusal(LockedOutText(left));

  std::optional<std::string> stored;
  InTransaction(storage, false, [&](Database& db) {
    stored = operator_store::ApproverPassword(db, code);
    return Variant();
  });
  if (!stored) return false;
  if (!OperatorPasswordMatches(args.senha, *stored)) {
    if (failures.recordFailure(key, now)) throw Refusal(LockedOutText(failures.lockedFor(key, now)));
    return false;
  }
  if (OperatorPasswordNeedsRehash(*stored)) {
    const std::string rehashed = HashOperatorPassword(args.senha);
    InTransaction(storage, true, [&](Database& db) {
      operator_store::ReplacePassword(db, code, *stored, rehashed);
      return Variant();
    });
  }
  caller.grantApproval(code, CallerSession::Clock::now());
  return true;
}

}  // namespace

void RegisterOperators(Dispatcher& d, Storage& s) {
  d.add(Transactional(s, GetOperador));
  d.add(DeclaredMethod<protocol::ConfirmaSenhaOperador>(
      [&s](protocol::ConfirmaSenhaOperador& call, const CallContext& context) {
        return ConfirmaSenhaOperador(s, call, RequireCaller(context));
      }));
}
