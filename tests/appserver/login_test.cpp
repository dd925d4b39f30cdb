// Logging a connection in (Login), what a connection may call before and
// after, the limits on failed logins per operator and per address, and the
// operators registered from the command line.

#include <gtest/gtest.h>

#include "admin/operator_admin.h"
#include "lib/criptografa.h"
#include "protocol/distrato_methods.h"
#include "session/failed_attempts.h"
#include "session/login_service.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "test_support.h"

namespace {

class Login : public ::testing::TestWithParam<Backend> {
 protected:
  Login() {
    // The failure counts are the process's: a lockout the other backend's run
    // of a test left starts over.
    OperatorPasswordFailures().recordSuccess("TRAVA");
    WriteDemoDatabase(db(), 0);
    app_ = std::make_unique<AppServer>(db());
  }
  std::string db() const { return target_; }

  // The refusal of a call on `caller`, or "" when it was accepted.
  std::string Refusal(CallerSession& caller, const std::string& method, std::vector<Variant> args) {
    try {
      app_->call(caller, method, args);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  std::string LogIn(CallerSession& caller, const std::string& code, const std::string& password) {
    return Refusal(caller, "Login", {code, password});
  }
  std::string Stored(const std::string& code) {
    Database d(db());
    Statement st = d.prepare("SELECT CDSENHOPER FROM OPERADOR WHERE CDOPERADOR = ?1");
    st.bind(1, code);
    return st.step() ? st.text(0) : "(sem operador)";
  }

  ScratchDir dir_;
  std::string target_ = FreshDatabase(GetParam(), dir_);
  std::unique_ptr<AppServer> app_;
};

INSTANTIATE_TEST_SUITE_P(Backends, Login, AllBackends(), BackendName);

TEST_P(Login, NothingButLoginRunsBeforeIt) {
  CallerSession caller("127.0.0.1:40001");
  for (const char* method : {"GetPesqOrca", "GetContratante", "Distrato", "SetConfirmar", "Inexistente"}) {
    const std::string refusal = Refusal(caller, method, {});
    EXPECT_EQ(refusal.rfind("Conexão sem login: entre com operador e senha antes de chamar ", 0), 0u)
        << method << ": " << refusal;
  }
  // A call in-process, outside any connection, cannot log in.
  std::vector<Variant> args{"SUPERVISOR", "DISTRATO"};
  EXPECT_THROW(app_->call("Login", args), std::runtime_error);
}

TEST_P(Login, ThePasswordIsCheckedInAnyCaseAndBindsTheOperator) {
  struct Case {
    const char* code;
    const char* password;
    const char* refusal;  // "" when accepted
  };
  // A failure of the demo supervisor comes before its success, which clears
  // the count other tests of this program share.
  const Case cases[] = {
      {"SUPERVISOR", "errada", "Operador ou senha inválidos."},
      {"NINGUEM", "DISTRATO", "Operador ou senha inválidos."},
      {"", "DISTRATO", "Operador deve ser informado."},
      {"SUPERVISOR", "", "Operador ou senha inválidos."},
      {"gerente", "Gerente1", ""},
      {" supervisor ", "distrato", ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    CallerSession caller("127.0.1." + std::to_string(++n) + ":4000");
    EXPECT_EQ(LogIn(caller, c.code, c.password), c.refusal) << c.code << "/" << c.password;
    EXPECT_EQ(caller.loggedIn(), std::string(c.refusal).empty()) << c.code;
  }
  CallerSession caller("127.0.2.1:4000");
  std::vector<Variant> args{"supervisor", "DiStRaTo"};
  const Variant answer = app_->call(caller, "Login", args);
  EXPECT_EQ(answer[0].asText(), "SUPERVISOR");
  EXPECT_EQ(answer[1].asText(), "Sandra Regina Lopes");
  EXPECT_EQ(answer[2].asText(), "SUPERVISOR");
  EXPECT_EQ(caller.operatorCode(), "SUPERVISOR");
  EXPECT_EQ(caller.role(), "SUPERVISOR");
  EXPECT_EQ(Refusal(caller, "GetPesqOrca", {"0001"}), "");
  // A failed login on a logged-in connection leaves it anonymous.
  EXPECT_EQ(LogIn(caller, "GERENTE", "errada"), "Operador ou senha inválidos.");
  EXPECT_FALSE(caller.loggedIn());
  EXPECT_NE(Refusal(caller, "GetPesqOrca", {"0001"}), "");
  EXPECT_EQ(LogIn(caller, "GERENTE", "GERENTE1"), "");  // and clears the count it added
}

TEST_P(Login, AnOperatorIsLockedOutAfterFiveFailures) {
  AddOperator(db(), "TRAVA", "Operador Travado", "OPERADOR");
  SetOperatorPassword(db(), "TRAVA", "certa");
  for (int i = 1; i <= 5; ++i) {
    CallerSession caller("127.0.3." + std::to_string(i) + ":4000");  // other addresses: the operator's count
    EXPECT_EQ(LogIn(caller, "TRAVA", "errada"), "Operador ou senha inválidos.") << i;
  }
  CallerSession caller("127.0.3.9:4000");
  EXPECT_EQ(LogIn(caller, "TRAVA", "certa"),
            "Operador TRAVA bloqueado por tentativas de senha inválidas. Tente novamente em 15 minutos.");
  EXPECT_FALSE(caller.loggedIn());
  // Others log in as usual.
  EXPECT_EQ(LogIn(caller, "GERENTE", "GERENTE1"), "");
}

TEST_P(Login, AnAddressIsLockedOutAfterTenFailures) {
  const int limit = LoginService::kMaxFailuresPerAddress;
  for (int i = 1; i <= limit; ++i) {
    CallerSession caller("10.9.8.7:" + std::to_string(5000 + i));  // a new port per try: one address
    EXPECT_EQ(LogIn(caller, "ADIVINHA" + std::to_string(i), "x"), "Operador ou senha inválidos.") << i;
  }
  CallerSession again("10.9.8.7:6000");
  EXPECT_EQ(LogIn(again, "GERENTE", "GERENTE1"),
            "Tentativas de login inválidas demais deste endereço. Tente novamente em 15 minutos.");
  CallerSession elsewhere("10.9.8.6:6000");
  EXPECT_EQ(LogIn(elsewhere, "GERENTE", "GERENTE1"), "");
}

TEST_P(Login, AddressesAreCountedWithoutTheirPort) {
  EXPECT_EQ(LoginService::AddressOf("10.1.2.3:4567"), "10.1.2.3");
  EXPECT_EQ(LoginService::AddressOf("::1:4567"), "::1");
  EXPECT_EQ(LoginService::AddressOf("?"), "?");
}

TEST_P(Login, EveryOperatorArgumentMustBeTheSessionsOperator) {
  LoggedInCaller caller;  // the demo supervisor
  std::vector<std::string> checked;
  protocol::DistratoMethods::ForEach([&]<class M>() {
    const int at = protocol::CallerOperatorIndex<M>();
    if (at < 0) return;
    const std::string name(M::kName);
    checked.push_back(name);
    std::vector<Variant> args = protocol::Encode(M{});
    args[static_cast<std::size_t>(at)] = Variant("GERENTE");
    EXPECT_EQ(Refusal(caller, name, args),
              "O operador informado (GERENTE) difere do operador desta conexão (SUPERVISOR). Operação bloqueada.")
        << name;
    // The session's own operator, as typed, passes the check (whatever the method then says).
    args[static_cast<std::size_t>(at)] = Variant(" supervisor");
    EXPECT_EQ(Refusal(caller, name, args).find("difere do operador desta conexão"), std::string::npos) << name;
  });
  for (const char* method : {"Distrato", "DistratoTotal", "ConfValTodosCont", "ConsolidaDistrato",
                             "ConsolidaDistratoTotal", "SubstituirContratante", "TransfCotas"})
    EXPECT_NE(std::find(checked.begin(), checked.end(), method), checked.end()) << method;
}

TEST_P(Login, AnOlderDigestIsRewrittenInFullAtLogin) {
  {
    Database d(db());
    Statement st = d.prepare("UPDATE OPERADOR SET CDSENHOPER = ?1 WHERE CDOPERADOR = 'GERENTE'");
    st.bind(1, DigestSenha("GERENTE1"));
    st.run();
  }
  ASSERT_EQ(Stored("GERENTE").size(), 20u);
  CallerSession caller("127.0.4.1:4000");
  EXPECT_EQ(LogIn(caller, "GERENTE", "gerente1"), "");
  EXPECT_EQ(Stored("GERENTE").rfind("$argon2id$", 0), 0u);
  CallerSession next("127.0.4.2:4000");
  EXPECT_EQ(LogIn(next, "GERENTE", "GERENTE1"), "");
}

TEST_P(Login, OperatorsAreRegisteredAndGivenPasswordsWithoutSql) {
  AddOperator(db(), " novo ", "Nova Operadora", "GERENTE");
  EXPECT_EQ(Stored("NOVO"), "");
  CallerSession before("127.0.5.1:4000");
  EXPECT_EQ(LogIn(before, "NOVO", ""), "Operador ou senha inválidos.");  // no password yet: no login
  SetOperatorPassword(db(), "novo", "Segredo");
  EXPECT_EQ(Stored("NOVO").rfind("$argon2id$", 0), 0u);
  CallerSession after("127.0.5.2:4000");
  EXPECT_EQ(LogIn(after, "NOVO", "SEGREDO"), "");
  EXPECT_EQ(after.role(), "GERENTE");

  const auto refusal = [](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_EQ(refusal([&] { AddOperator(db(), "NOVO", "Outra", "OPERADOR"); }), "Operador NOVO já cadastrado.");
  EXPECT_EQ(refusal([&] { AddOperator(db(), "X", "Xis", "CHEFE"); }),
            "Papel inválido: \"CHEFE\" (SUPERVISOR, GERENTE ou OPERADOR).");
  EXPECT_EQ(refusal([&] { AddOperator(db(), "CODIGOLONGODEMAIS", "X", "OPERADOR"); }),
            "Código de operador \"CODIGOLONGODEMAIS\" longo demais (até 12 caracteres).");
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "FANTASMA", "x"); }), "Operador FANTASMA não cadastrado.");
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "NOVO", ""); }), "A senha não pode ser vazia.");
}

}  // namespace
