// Logging a connection in (Login), what a connection may call before and
// after, the limits on failed logins (per operator and address, per operator,
// per address), their locks as the administrator lists and clears them, and
// the operators registered from the command line.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "admin/login_locks_admin.h"
#include "admin/operator_admin.h"
#include "lib/criptografa.h"
#include "protocol/distrato_methods.h"
#include "session/login_service.h"
#include "storage/database.h"
#include "storage/statement.h"
#include "test_support.h"

namespace {

class Login : public ::testing::TestWithParam<Backend> {
 protected:
  Login() {
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
  EXPECT_EQ(LogIn(caller, "GERENTE", "GERENTE1"), "");
}

const char* const kTravaLocked = "Operador TRAVA bloqueado por tentativas de senha inválidas. Tente novamente em 15 minutos.";

TEST_P(Login, FiveFailuresLockTheOperatorOutFromThatAddressAndASuccessDoesNotClearIt) {
  AddOperator(db(), "TRAVA", "Operador Travado", "OPERADOR");
  SetOperatorPassword(db(), "TRAVA", "certa123");
  for (int i = 1; i <= 5; ++i) {
    CallerSession caller("10.0.3.1:" + std::to_string(4000 + i));  // new ports, one address
    EXPECT_EQ(LogIn(caller, "TRAVA", "errada"), "Operador ou senha inválidos.") << i;
  }
  CallerSession caller("10.0.3.1:4009");
  EXPECT_EQ(LogIn(caller, "TRAVA", "certa123"), kTravaLocked);
  EXPECT_FALSE(caller.loggedIn());
  EXPECT_EQ(LogIn(caller, "TRAVA", "certa123"), kTravaLocked) << "the right password cleared nothing";
  // Others log in from there as usual, and the operator from elsewhere.
  EXPECT_EQ(LogIn(caller, "GERENTE", "GERENTE1"), "");
  CallerSession elsewhere("10.0.3.2:4000");
  EXPECT_EQ(LogIn(elsewhere, "TRAVA", "certa123"), "");
}

TEST_P(Login, AttemptsSentAtOnceAreCountedBeforeTheirCheck) {
  AddOperator(db(), "TRAVA", "Operador Travado", "OPERADOR");
  SetOperatorPassword(db(), "TRAVA", "certa123");
  // 23 wrong passwords and the right one at once, from one address.
  std::vector<std::string> refusals(24);
  std::vector<std::thread> tries;
  std::atomic<bool> go{false};
  for (int i = 0; i < 24; ++i)
    tries.emplace_back([&, i] {
      while (!go) std::this_thread::yield();
      CallerSession caller("10.0.4.1:" + std::to_string(5000 + i));
      refusals[static_cast<std::size_t>(i)] = LogIn(caller, "TRAVA", i == 23 ? "certa123" : "errada");
    });
  go = true;
  for (std::thread& t : tries) t.join();
  int checkedWrong = 0;
  for (int i = 0; i < 23; ++i) checkedWrong += refusals[static_cast<std::size_t>(i)] == "Operador ou senha inválidos.";
  EXPECT_LE(checkedWrong, 5) << "no more passwords checked than the limit";
  EXPECT_GE(checkedWrong, 1);
  // Whatever the order, the operator ends locked out from there when five
  // wrong ones were checked, the right one included or not.
  CallerSession after("10.0.4.1:6000");
  const std::string next = LogIn(after, "TRAVA", "certa123");
  if (checkedWrong == 5) EXPECT_EQ(next, kTravaLocked);
  else EXPECT_EQ(next, "");
}

TEST_P(Login, TheLimitPerOperatorSparesTheAddressesItLogsInFrom) {
  CallerSession desk("10.1.0.1:4000");
  ASSERT_EQ(LogIn(desk, "GERENTE", "GERENTE1"), "");
  // Guesses from many addresses, a few each: no address reaches its own lock.
  const int guesses = LoginLimits::kOperatorAnywhere.maxFailures;
  for (int i = 0; i < guesses; ++i) {
    CallerSession guesser("10.2.0." + std::to_string(i / 4) + ":4000");
    EXPECT_EQ(LogIn(guesser, "GERENTE", "errada"), "Operador ou senha inválidos.") << i;
  }
  CallerSession stranger("10.3.0.1:4000");
  EXPECT_EQ(LogIn(stranger, "GERENTE", "GERENTE1"),
            "Operador GERENTE bloqueado para novos endereços por tentativas de senha inválidas. Tente novamente em 60 "
            "minutos.");
  CallerSession again("10.1.0.1:4001");
  EXPECT_EQ(LogIn(again, "GERENTE", "GERENTE1"), "") << "the operator's own desk";
}

TEST_P(Login, TheLimitPerAddressSparesTheOperatorsThatLogInFromIt) {
  CallerSession desk("10.4.0.1:4000");
  ASSERT_EQ(LogIn(desk, "GERENTE", "GERENTE1"), "");
  const int guesses = LoginLimits::kAddressAnyOperator.maxFailures;
  for (int i = 0; i < guesses; ++i) {
    CallerSession guesser("10.4.0.1:" + std::to_string(5000 + i));  // one shared address
    EXPECT_EQ(LogIn(guesser, "ADIVINHA" + std::to_string(i % 7), "x"), "Operador ou senha inválidos.") << i;
  }
  CallerSession newcomer("10.4.0.1:6000");
  EXPECT_EQ(LogIn(newcomer, "SUPERVISOR", "DISTRATO"),
            "Tentativas de login inválidas demais deste endereço. Tente novamente em 15 minutos.");
  CallerSession known("10.4.0.1:6001");
  EXPECT_EQ(LogIn(known, "GERENTE", "GERENTE1"), "") << "an operator of that address";
  CallerSession elsewhere("10.4.0.2:6000");
  EXPECT_EQ(LogIn(elsewhere, "SUPERVISOR", "DISTRATO"), "");
}

TEST_P(Login, TheAdministratorListsAndClearsTheLocks) {
  const auto now = LoginLimits::Now();
  EXPECT_EQ(LoginLocksReport(db(), now), "Nenhum bloqueio nem tentativa inválida de login registrada.\n");
  for (int i = 0; i < 5; ++i) {
    CallerSession guesser("10.5.0.1:" + std::to_string(4000 + i));
    LogIn(guesser, "SUPERVISOR", "errada");
  }
  const std::string report = LoginLocksReport(db(), LoginLimits::Now());
  const auto pair = report.find("SUPERVISOR    10.5.0.1");
  ASSERT_NE(pair, std::string::npos) << report;
  const std::string line = report.substr(pair, report.find('\n', pair) - pair);
  EXPECT_EQ(line.substr(line.size() - 19, 2), "20") << "locked until a time: " << line;
  EXPECT_NE(report.find("(qualquer)"), std::string::npos) << "the operator's and the address's counts" << report;
  CallerSession locked("10.5.0.1:5000");
  EXPECT_NE(LogIn(locked, "SUPERVISOR", "DISTRATO"), "");

  EXPECT_EQ(UnlockLogin(db(), " supervisor "), "2 registros de tentativas de login de SUPERVISOR removidos.\n");
  EXPECT_EQ(LogIn(locked, "SUPERVISOR", "DISTRATO"), "") << "cleared at once, for the running server too";
  EXPECT_EQ(UnlockLogin(db(), "SUPERVISOR"), "Nenhum bloqueio de SUPERVISOR.\n");
  EXPECT_EQ(UnlockLogin(db(), "10.5.0.1"), "1 registro de tentativas de login de 10.5.0.1 removido.\n");
}

TEST_P(Login, TheCodeTypedIsEscapedInTheLogAndRefusals) {
  std::vector<std::string> lines;
  app_->logins().setEventLog([&](LoginService::Outcome, const std::string& line) { lines.push_back(line); });
  CallerSession caller("10.6.0.1:4000");
  EXPECT_EQ(LogIn(caller, "X\nY", "errada"), "Operador ou senha inválidos.");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].find('\n'), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("login de X\\nY em 10.6.0.1:4000 recusado"), std::string::npos) << lines[0];
  EXPECT_EQ(LogIn(caller, std::string(5000, 'A'), "x"), "Operador ou senha inválidos.");
  EXPECT_LT(lines.back().size(), 200u) << "a long code is cut";
  EXPECT_EQ(Refusal(caller, "GetPesqOrca\x1b[2J", {}),
            "Conexão sem login: entre com operador e senha antes de chamar GetPesqOrca\\x1b[2J.");
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
  SetOperatorPassword(db(), "novo", "Segredo1");
  EXPECT_EQ(Stored("NOVO").rfind("$argon2id$", 0), 0u);
  CallerSession after("127.0.5.2:4000");
  EXPECT_EQ(LogIn(after, "NOVO", "SEGREDO1"), "");
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
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "FANTASMA", "xxxxxxxx"); }), "Operador FANTASMA não cadastrado.");
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "NOVO", ""); }), "A senha não pode ser vazia.");
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "NOVO", "curta12"); }), "A senha deve ter pelo menos 8 caracteres.");
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "NOVO", "çãõéíóúà"); }), "") << "characters, not bytes";
  EXPECT_EQ(refusal([&] { SetOperatorPassword(db(), "NOVO", "abc", 3); }), "") << "a site may choose";
}

}  // namespace
