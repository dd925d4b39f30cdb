#include "app_server.h"

#include <stdexcept>

#include "methods/applied_requests.h"
#include "methods/key_codes.h"
#include "methods/method_support.h"
#include "net/printable_text.h"
#include "protocol/distrato_methods.h"
#include "session/caller_session.h"
#include "session/login_service.h"
#include "storage/database.h"
#include "storage/migrations.h"
#include "storage/statement.h"
#include "storage/storage.h"
#include "net/refusal.h"

namespace {

// Nothing but Login before login: an anonymous client learns nothing, not
// even which methods exist.
void RequireLogin(const CallerSession& caller, const std::string& method) {
  if (method != protocol::Login::kName && !caller.loggedIn())
    throw Refusal("Conexão sem login: entre com operador e senha antes de chamar " + PrintableText(method) + ".");
}

// A method's operator argument is the operator logged in.
void CheckCallerOperator(const CallerSession& caller, const MethodSpec& spec, const std::vector<Variant>& args) {
  if (spec.callerOperator < 0) return;
  const std::string loggedIn = caller.operatorCode();
  const std::string sent = KeyCode(args.at(static_cast<std::size_t>(spec.callerOperator)).asText(), 0);
  if (sent != loggedIn)
    throw Refusal("O operador informado (" + PrintableText(sent) + ") difere do operador desta conexão (" + loggedIn +
                             "). Operação bloqueada.");
}

}  // namespace

AppServer::AppServer(const std::string& dbPath)
    : storage_(std::make_unique<Storage>(dbPath)), logins_(std::make_unique<LoginService>(*storage_)) {
  dispatcher_.add(DeclaredMethod<protocol::Login>([this](protocol::Login& login, const CallContext& context) {
    return logins_->logIn(RequireCaller(context), login.codigo, login.senha);
  }));
  RegisterBudgetLookup(dispatcher_, *storage_);
  RegisterParties(dispatcher_, *storage_);
  RegisterAccounts(dispatcher_, *storage_);
  RegisterCommandQuestions(dispatcher_, *storage_);
  RegisterContractorValues(dispatcher_, *storage_);
  RegisterRescission(dispatcher_, *storage_);
  RegisterTotalRescission(dispatcher_, *storage_);
  RegisterConsolidation(dispatcher_, *storage_);
  RegisterSubstitution(dispatcher_, *storage_);
  RegisterOperators(dispatcher_, *storage_);
  RegisterUndo(dispatcher_, *storage_);
  RegisterStatement(dispatcher_, *storage_);
}

AppServer::~AppServer() = default;

Variant AppServer::call(const std::string& method, std::vector<Variant>& args) const {
  // Logging in binds a connection to an operator; the in-process sessions
  // are bound by the call itself.
  if (method == protocol::Login::kName) throw Refusal("Login só é possível numa conexão ao servidor de aplicação.");
  // The operator the call names; a call that names it wrongly is refused by
  // the dispatcher's checks as any other.
  std::string named;
  if (const MethodSpec* spec = dispatcher_.find(method); spec && spec->callerOperator >= 0) {
    const auto at = static_cast<std::size_t>(spec->callerOperator);
    if (at < args.size() && args[at].isText()) named = KeyCode(args[at].asText(), 0);
  }
  CallerSession* caller;
  {
    std::lock_guard<std::mutex> lock(inProcessMu_);
    std::unique_ptr<CallerSession>& session = inProcess_[named];
    if (!session) {
      session = std::make_unique<CallerSession>("em processo");
      if (!named.empty()) session->logIn(named, "");
    }
    caller = session.get();
  }
  const CallContext context{caller, nullptr};
  return dispatcher_.call(method, args, context, [caller](const MethodSpec& spec, const std::vector<Variant>& checked) {
    CheckCallerOperator(*caller, spec, checked);
  });
}

std::vector<AuditRow> AppServer::auditTrail(const std::string& since) const {
  Database& db = storage_->connection();
  Transaction tx(db, false);
  return ReadAudit(db, since);
}

std::optional<std::string> AppServer::readiness() const {
  try {
    Database& db = storage_->connection();
    const int expected = Migrations(db.dialect()).back().version;
    const int version = db.userVersion();
    if (version != expected)
      return "esquema na versão " + std::to_string(version) + ", o servidor espera a " + std::to_string(expected);
    Statement probe = db.prepare("SELECT COUNT(*) FROM FILIAL");
    probe.step();
    return std::nullopt;
  } catch (const std::exception& e) {
    return std::string("banco de dados sem resposta: ") + e.what();
  }
}

void AppServer::warmUpConnection() const { storage_->connection().warmUp(); }

std::uint64_t AppServer::databaseSizeBytes() const {
  try {
    Database& db = storage_->connection();
    Statement size = db.prepare(db.dialect() == storage::Dialect::kPostgres
                                    ? "SELECT pg_database_size(current_database())"
                                    : "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
    return size.step() ? static_cast<std::uint64_t>(size.integer(0)) : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

Variant AppServer::call(CallerSession& caller, const std::string& method, std::vector<Variant>& args,
                        const std::string& requestKey) const {
  RequireLogin(caller, method);
  const RequestKey request{requestKey, caller.operatorCode(), method};
  const CallContext context{&caller, requestKey.empty() ? nullptr : &request};
  return dispatcher_.call(method, args, context, [&caller](const MethodSpec& spec, const std::vector<Variant>& checked) {
    CheckCallerOperator(caller, spec, checked);
  });
}
