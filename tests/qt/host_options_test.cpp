#include "host_options.h"
#include "unattended_login.h"

#include <gtest/gtest.h>

#include <QDate>
#include <map>

namespace {

struct FakeEnv {
  std::map<std::string, QString> values;
  QString operator()(const char* name) const {
    auto it = values.find(name);
    return it == values.end() ? QString() : it->second;
  }
};

HostOptionsResult parse(QStringList args, FakeEnv env = {}) {
  args.prepend("distrato");
  return parseHostOptions(args, env);
}

}  // namespace

TEST(HostOptions, EnvironmentGivesTheDefaults) {
  FakeEnv env{{{"DX_SERVER", "srv.local:9123"},
               {"DX_BRANCH", "0001"},
               {"DX_BRANCH_LOCKED", "1"},
               {"DX_OPERATOR", "SUPERVISOR"},
               {"DX_DATE", "05/03/2024"},
               {"DX_DATABASE", "/tmp/host.db"}}};
  const auto r = parse({}, env);
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_EQ(r.options->serverHost, "srv.local");
  EXPECT_EQ(r.options->serverPort, 9123);
  EXPECT_EQ(r.options->branch, "0001");
  EXPECT_TRUE(r.options->branchLocked);
  EXPECT_EQ(r.options->operatorCode, "SUPERVISOR");
  EXPECT_EQ(r.options->processingDate, "05/03/2024");
  EXPECT_EQ(r.options->databasePath, "/tmp/host.db");
  EXPECT_FALSE(r.options->openAtStart);
}

TEST(HostOptions, ThePasswordComesFromTheEnvironmentOnlyAndTlsFromEither) {
  FakeEnv env{{{"DX_PASSWORD", "Distrato"}, {"DX_TLS", "sim"}, {"DX_CA", "/etc/ca.pem"}}};
  auto r = parse({}, env);
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_EQ(r.options->password, "Distrato");
  EXPECT_TRUE(r.options->tls);
  EXPECT_EQ(r.options->caFile, "/etc/ca.pem");
  r = parse({"--tls", "--ca", "/outra.pem"});
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_TRUE(r.options->password.isEmpty());
  EXPECT_TRUE(r.options->tls);
  EXPECT_EQ(r.options->caFile, "/outra.pem");
  EXPECT_FALSE(parse({"--password", "x"}).options);  // never on the command line
}

TEST(HostOptions, CommandLineOverridesTheEnvironment) {
  FakeEnv env{{{"DX_SERVER", "a:1"}, {"DX_BRANCH", "0001"}, {"DX_OPERATOR", "X"}}};
  const auto r = parse({"--server", "[::1]:7001", "--branch", "0002", "--branch-name", "Filial Dois",
                        "--operator", "ANA", "--date", "29/02/2024", "--open", "--module", "/m.so"},
                       env);
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_EQ(r.options->serverHost, "::1");
  EXPECT_EQ(r.options->serverPort, 7001);
  EXPECT_EQ(r.options->branch, "0002");
  EXPECT_EQ(r.options->branchName, "Filial Dois");
  EXPECT_FALSE(r.options->branchLocked);
  EXPECT_EQ(r.options->operatorCode, "ANA");
  EXPECT_EQ(r.options->processingDate, "29/02/2024");
  EXPECT_TRUE(r.options->openAtStart);
  EXPECT_EQ(r.options->modulePath, "/m.so");
}

TEST(HostOptions, DateIsLeftToTheBranchUnlessGivenInEitherForm) {
  const auto r = parse({});
  ASSERT_TRUE(r.options);
  EXPECT_EQ(r.options->processingDate, "");
  const auto iso = parse({"--date", "2026-12-01"});
  ASSERT_TRUE(iso.options) << iso.error.toStdString();
  EXPECT_EQ(iso.options->processingDate, "2026-12-01");
}

// The processing date reads alike from --date and from DX_DATE, in either
// form, as distrato-script reads DX_DATE.
TEST(HostOptions, ReadsTheDateInEitherFormFromEitherSource) {
  const struct {
    const char* text;
    bool valid;
  } dates[] = {{"2026-12-01", true}, {"01/12/2026", true}, {"2026-13-01", false}, {"31/04/2026", false}};
  for (const auto& d : dates) {
    EXPECT_EQ(parse({"--date", d.text}).options.has_value(), d.valid) << d.text;
    const auto fromEnvironment = parse({}, FakeEnv{{{"DX_DATE", d.text}}});
    EXPECT_EQ(fromEnvironment.options.has_value(), d.valid) << d.text;
    EXPECT_EQ(fromEnvironment.error.startsWith("Invalid date"), !d.valid) << d.text;
  }
}

TEST(HostOptions, RefusesAnImpossibleDate) {
  const auto r = parse({"--date", "30/02/2024"});
  EXPECT_FALSE(r.options);
  EXPECT_TRUE(r.error.contains("30/02/2024"));
}

TEST(HostOptions, RefusesAServerWithoutPort) {
  EXPECT_FALSE(parse({"--server", "localhost"}).options);
  EXPECT_FALSE(parse({"--server", "localhost:0"}).options);
  EXPECT_FALSE(parse({"--server", "localhost:70000"}).options);
}

TEST(HostOptions, RefusesUnknownOptions) {
  const auto r = parse({"--frobnicate"});
  EXPECT_FALSE(r.options);
  EXPECT_FALSE(r.error.isEmpty());
}

TEST(HostOptions, BranchLockedEnvironmentAcceptsOnlyTrueWords) {
  EXPECT_FALSE(parse({}, FakeEnv{{{"DX_BRANCH_LOCKED", "0"}}}).options->branchLocked);
  EXPECT_TRUE(parse({}, FakeEnv{{{"DX_BRANCH_LOCKED", "S"}}}).options->branchLocked);
}

TEST(HostOptions, BudgetAndPartyToLoadAtStart) {
  const auto r = parse({"--budget", " 101 ", "--party", "4"});
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_EQ(r.options->budget, "101");
  EXPECT_EQ(r.options->party, 4);
  const auto none = parse({});
  ASSERT_TRUE(none.options);
  EXPECT_TRUE(none.options->budget.isEmpty());
  EXPECT_EQ(none.options->party, 0);
}

TEST(HostOptions, RefusesAPartyThatIsNoRowOrHasNoBudget) {
  EXPECT_FALSE(parse({"--budget", "101", "--party", "0"}).options);
  EXPECT_FALSE(parse({"--budget", "101", "--party", "dois"}).options);
  EXPECT_FALSE(parse({"--party", "2"}).options);
  EXPECT_FALSE(parse({"--budget", " "}).options);
}

TEST(HostOptions, ClicksAreNamedInOrder) {
  const auto r = parse({"--budget", "101", "--click", "rbtParcial, sbtDistrato", "--click", "btnOk"});
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_EQ(r.options->clicks, (QStringList{"rbtParcial", "sbtDistrato", "btnOk"}));
  EXPECT_TRUE(parse({}).options->clicks.isEmpty());
}

TEST(HostOptions, RefusesAnEmptyControlName) {
  EXPECT_FALSE(parse({"--click", ""}).options);
  EXPECT_FALSE(parse({"--click", "sbtDistrato,,btnOk"}).options);
  EXPECT_FALSE(parse({"--click", "sbtDistrato,"}).options);
}

TEST(HostOptions, MaximizeAsksForTheScreenMaximised) {
  EXPECT_TRUE(parse({"--maximize"}).options->maximizeScreen);
  EXPECT_FALSE(parse({}).options->maximizeScreen);
}

TEST(HostOptions, SplittersAreDraggedByPixels) {
  const auto r = parse({"--budget", "9999", "--drag", "Splitter1:400", "--drag", "Splitter2:-100"});
  ASSERT_TRUE(r.options) << r.error.toStdString();
  EXPECT_EQ(r.options->drags, (QList<QPair<QString, int>>{{"Splitter1", 400}, {"Splitter2", -100}}));
  EXPECT_FALSE(parse({"--drag", "Splitter1"}).options);
  EXPECT_FALSE(parse({"--drag", ":40"}).options);
  EXPECT_FALSE(parse({"--drag", "Splitter1:muito"}).options);
}

// Which start ends on a refused login: only one whose server answers and
// then refuses the operator; without an operator nothing logs in.
namespace {

TEST(RefusedLogin, IsTheLoginsRefusalOnlyWhenTheServerAnswers) {
  struct Case {
    const char* operatorCode;
    const char* anonymous;  // what the server says to a connection without login
    const char* login;      // and to the operator's
    const char* expected;
  } cases[] = {
      {"DEMO", "", "Operador ou senha inválidos.", "Operador ou senha inválidos."},
      {"SUPERVISOR", "", "", ""},
      {"DEMO", "Connection refused", "Connection refused", ""},
      {"", "", "unused", ""},
  };
  for (const Case& c : cases) {
    HostOptions options;
    options.operatorCode = QString::fromUtf8(c.operatorCode);
    int calls = 0;
    const QString refusal = refusedLogin(options, [&](const HostOptions& tried) {
      ++calls;
      return QString::fromUtf8(tried.operatorCode.isEmpty() ? c.anonymous : c.login);
    });
    EXPECT_EQ(refusal, QString::fromUtf8(c.expected)) << c.operatorCode << " / " << c.anonymous;
    if (*c.operatorCode == '\0') {
      EXPECT_EQ(calls, 0);
    }
  }
}

}  // namespace
