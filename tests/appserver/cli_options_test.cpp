#include "cli_options.h"

#include <gtest/gtest.h>

namespace {

const char* const kOneMode =
    "Informe uma destas: --listen HOST:PORTA, --init-demo, --audit, --backup SAIDA, --add-operator CÓDIGO, "
    "--set-password CÓDIGO, --locks ou --unlock CÓDIGO.";

std::string ErrorOf(const std::vector<std::string>& args) {
  try {
    ParseServerOptions(args);
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  return "(sem erro)";
}

TEST(ServerOptionsTest, ReadsListenAndDemoForms) {
  ServerOptions o = ParseServerOptions({"--db", "x.db", "--listen", "127.0.0.1:0"});
  EXPECT_TRUE(o.listen);
  EXPECT_EQ(o.host, "127.0.0.1");
  EXPECT_EQ(o.port, 0);
  EXPECT_EQ(o.db, "x.db");

  o = ParseServerOptions({"--init-demo", "--db", "x.db", "--parties", "10000"});
  EXPECT_TRUE(o.initDemo);
  EXPECT_EQ(o.parties, 10000);
}

TEST(ServerOptionsTest, MovesTheDemoToADayGivenEitherWay) {
  const struct {
    const char* text;
    double days;
  } days[] = {{"08/12/2026", 46364}, {"2026-12-08", 46364}, {"1/3/2031", 47908}};
  for (const auto& d : days)
    EXPECT_EQ(ParseServerOptions({"--db", "x", "--init-demo", "--demo-date", d.text}).demoDate, d.days) << d.text;
  EXPECT_FALSE(ParseServerOptions({"--db", "x", "--init-demo"}).demoDate);
  EXPECT_EQ(ErrorOf({"--db", "x", "--init-demo", "--demo-date", "31/02/2027"}),
            "Data inválida em --demo-date: \"31/02/2027\" (DD/MM/AAAA ou AAAA-MM-DD).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--demo-date", "08/12/2026"}),
            "--demo-date só vale com --init-demo.");
}

TEST(ServerOptionsTest, ReadsTheOperationsPortAndTheBackup) {
  ServerOptions o = ParseServerOptions({"--db", "x", "--listen", "h:1", "--metrics-listen", "127.0.0.1:9100"});
  EXPECT_EQ(o.metricsHost, "127.0.0.1");
  EXPECT_EQ(o.metricsPort, 9100);
  EXPECT_FALSE(ParseServerOptions({"--db", "x", "--listen", "h:1"}).metricsPort);
  EXPECT_EQ(ParseServerOptions({"--db", "x", "--backup", "copia.db"}).backup, "copia.db");
  EXPECT_EQ(ErrorOf({"--db", "x", "--backup", "c.db", "--metrics-listen", "h:2"}),
            "--metrics-listen só vale com --listen.");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--backup", "c.db"}), kOneMode);
}

TEST(ServerOptionsTest, HelpAndVersionNeedNothingElse) {
  EXPECT_TRUE(ParseServerOptions({"--help"}).help);
  EXPECT_TRUE(ParseServerOptions({"--version"}).version);
  EXPECT_FALSE(ParseServerOptions({"--db", "x.db", "--init-demo"}).version);
}

TEST(ServerOptionsTest, ReadsTheServingLimitsAndTheLogLevel) {
  ServerOptions o = ParseServerOptions({"--db", "x.db", "--listen", "h:1"});
  EXPECT_EQ(o.maxConnections, 256u);
  EXPECT_EQ(o.logLevel, "info");
  o = ParseServerOptions({"--db", "x.db", "--listen", "h:1", "--max-connections", "10", "--log-level", "debug"});
  EXPECT_EQ(o.maxConnections, 10u);
  EXPECT_EQ(o.logLevel, "debug");

  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--max-connections", "0"}),
            "Limite de conexões: valor inválido \"0\" (de 1 a 100000).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--init-demo", "--max-connections", "5"}), "--max-connections só vale com --listen.");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--log-level", "tudo"}),
            "Nível de registro inválido: \"tudo\" (error, warning, info ou debug).");
}

TEST(ServerOptionsTest, ReadsOperatorAdministrationAndTls) {
  ServerOptions o = ParseServerOptions({"--db", "x", "--add-operator", "ana", "--name", "Ana", "--role", "GERENTE"});
  EXPECT_EQ(o.addOperator, "ana");
  EXPECT_EQ(o.operatorName, "Ana");
  EXPECT_EQ(o.operatorRole, "GERENTE");
  EXPECT_EQ(ParseServerOptions({"--db", "x", "--set-password", "ANA"}).setPassword, "ANA");
  o = ParseServerOptions({"--db", "x", "--listen", "h:1", "--tls-cert", "c.pem", "--tls-key", "k.pem"});
  EXPECT_EQ(o.tlsCert, "c.pem");
  EXPECT_EQ(o.tlsKey, "k.pem");
}

TEST(ServerOptionsTest, ReadsTheLimitsOfConnectionsAndWorkers) {
  ServerOptions o = ParseServerOptions({"--db", "x", "--listen", "h:1"});
  EXPECT_EQ(o.maxConnectionsPerAddress, 32u);
  EXPECT_EQ(o.reservedConnections, 32u);
  EXPECT_EQ(o.workers, 8u);
  EXPECT_FALSE(o.insecurePlainTcp);
  o = ParseServerOptions({"--db", "x", "--listen", "h:1", "--max-connections-per-address", "4",
                          "--reserved-connections", "0", "--workers", "2", "--insecure-plain-tcp"});
  EXPECT_EQ(o.maxConnectionsPerAddress, 4u);
  EXPECT_EQ(o.reservedConnections, 0u);
  EXPECT_EQ(o.workers, 2u);
  EXPECT_TRUE(o.insecurePlainTcp);
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--max-connections-per-address", "0"}),
            "Limite de conexões por endereço: valor inválido \"0\" (de 1 a 100000).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--workers", "0"}),
            "Chamadas ao mesmo tempo: valor inválido \"0\" (de 1 a 128).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--audit", "--workers", "4"}),
            "--max-connections-per-address, --reserved-connections, --workers e --insecure-plain-tcp só valem com "
            "--listen.");
}

TEST(ServerOptionsTest, PlainTcpOnTheNetworkNeedsTheInsecureOption) {
  ServerOptions o = ParseServerOptions({"--db", "x", "--listen", "0.0.0.0:7070"});
  EXPECT_NE(PlainTcpRefusal(o, false).find("--insecure-plain-tcp"), std::string::npos);
  EXPECT_EQ(PlainTcpRefusal(o, true), "") << "loopback";
  o = ParseServerOptions({"--db", "x", "--listen", "0.0.0.0:7070", "--insecure-plain-tcp"});
  EXPECT_EQ(PlainTcpRefusal(o, false), "");
  o = ParseServerOptions({"--db", "x", "--listen", "0.0.0.0:7070", "--tls-cert", "c", "--tls-key", "k"});
  EXPECT_EQ(PlainTcpRefusal(o, false), "");
}

TEST(ServerOptionsTest, ReadsTheLockAdministrationAndThePasswordLength) {
  EXPECT_TRUE(ParseServerOptions({"--db", "x", "--locks"}).locks);
  EXPECT_EQ(ParseServerOptions({"--db", "x", "--unlock", "ana"}).unlock, "ana");
  EXPECT_EQ(ParseServerOptions({"--db", "x", "--set-password", "ANA"}).minPasswordLength, 8u);
  EXPECT_EQ(ParseServerOptions({"--db", "x", "--set-password", "ANA", "--min-password-length", "12"}).minPasswordLength,
            12u);
  EXPECT_EQ(ErrorOf({"--db", "x", "--locks", "--unlock", "ANA"}), kOneMode);
  EXPECT_EQ(ErrorOf({"--db", "x", "--locks", "--min-password-length", "4"}),
            "--min-password-length só vale com --set-password.");
}

TEST(ServerOptionsTest, ADatabasePasswordNeverComesOnTheCommandLine) {
  for (const char* target : {"postgresql://dx:segredo@db/distrato", "host=db dbname=distrato password=segredo",
                             "postgres://db/distrato?password=segredo"})
    EXPECT_NE(ErrorOf({"--db", target, "--listen", "h:1"}).find("~/.pgpass"), std::string::npos) << target;
  EXPECT_EQ(ParseServerOptions({"--db", "service=distrato", "--audit"}).db, "service=distrato");
  EXPECT_EQ(ParseServerOptions({"--db", "postgresql://dx@db/distrato", "--audit"}).db, "postgresql://dx@db/distrato");
}

TEST(ServerOptionsTest, ReadsTheAuditTrailOptions) {
  ServerOptions o = ParseServerOptions({"--db", "x.db", "--audit", "--since", "2026-12-08"});
  EXPECT_TRUE(o.audit);
  EXPECT_EQ(o.since, "2026-12-08");
  EXPECT_TRUE(ParseServerOptions({"--db", "x.db", "--audit"}).since.empty());
}

TEST(ServerOptionsTest, ExplainsWhatIsWrong) {
  EXPECT_EQ(ErrorOf({"--listen", "h:1"}), "Informe o banco de dados com --db ARQUIVO.");
  EXPECT_EQ(ErrorOf({"--db", "x"}), kOneMode);
  EXPECT_EQ(ErrorOf({"--db", "x", "--init-demo", "--listen", "h:1"}), kOneMode);
  EXPECT_EQ(ErrorOf({"--db", "x", "--audit", "--listen", "h:1"}), kOneMode);
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--since", "2026-12-01"}), "--since só vale com --audit.");
  for (const char* bad : {"2026-13-01", "2026-02-30", "01/12/2026", "2026-1-01"})
    EXPECT_EQ(ErrorOf({"--db", "x", "--audit", "--since", bad}),
              std::string("Data inválida em --since: \"") + bad + "\" (AAAA-MM-DD).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:70000"}), "Porta: valor inválido \"70000\" (de 0 a 65535).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "semporta"}),
            "Endereço inválido: \"semporta\" (esperado HOST:PORTA).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--init-demo", "--parties", "-3"}),
            "Número de contratantes: valor inválido \"-3\" (de 1 a 1000000).");
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--parties", "3"}), "--parties só vale com --init-demo.");
  EXPECT_EQ(ErrorOf({"--db"}), "Falta o valor de --db.");
  EXPECT_EQ(ErrorOf({"--db", "x", "--add-operator", "ANA", "--name", "Ana"}),
            "--add-operator pede --name NOME e --role SUPERVISOR|GERENTE|OPERADOR.");
  EXPECT_EQ(ErrorOf({"--db", "x", "--set-password", "ANA", "--role", "GERENTE"}),
            "--name e --role só valem com --add-operator.");
  EXPECT_EQ(ErrorOf({"--db", "x", "--set-password", "ANA", "--listen", "h:1"}), kOneMode);
  EXPECT_EQ(ErrorOf({"--db", "x", "--listen", "h:1", "--tls-cert", "c.pem"}), "Informe --tls-cert e --tls-key juntos.");
  EXPECT_EQ(ErrorOf({"--db", "x", "--init-demo", "--tls-cert", "c.pem", "--tls-key", "k.pem"}),
            "--tls-cert e --tls-key só valem com --listen.");
  EXPECT_EQ(ErrorOf({"--porta", "1"}), "Opção desconhecida: --porta");
}

// The line is read by CLI11: the forms it reads besides ours, an option given
// twice, a value missing at the end and words that are no option.
TEST(ServerOptionsTest, ReadsEveryFormOfTheCommandLine) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } refused[] = {
      {{"--db", "x", "--listen"}, "Falta o valor de --listen."},
      {{"--db", "x", "--listen", "h:1", "--max-connections"}, "Falta o valor de --max-connections."},
      {{"--db", "x", "--listen", "h:1", "serve"}, "Opção desconhecida: serve"},
      {{"--db", "x", "--listen", "h:1", "-x"}, "Opção desconhecida: -x"},
      {{"--db", "x", "--listen", "h:1", "--porta=1"}, "Opção desconhecida: --porta=1"},
      {{"--db", "x", "--listen", "h:1", "--log-level=tudo"},
       "Nível de registro inválido: \"tudo\" (error, warning, info ou debug)."},
      // Every value is checked, not only the one that counts.
      {{"--db", "x", "--listen", "h:1", "--max-connections", "0", "--max-connections", "5"},
       "Limite de conexões: valor inválido \"0\" (de 1 a 100000)."},
      {{"--db", "x", "--listen", "h:1", "--reserved-connections", "muitas"},
       "Conexões reservadas: valor inválido \"muitas\" (de 0 a 100000)."},
      {{"--db", "x", "--set-password", "ANA", "--min-password-length", "129"},
       "Tamanho mínimo da senha: valor inválido \"129\" (de 1 a 128)."},
  };
  for (const auto& c : refused) EXPECT_EQ(ErrorOf(c.args), c.error) << ::testing::PrintToString(c.args);

  ServerOptions o = ParseServerOptions({"--db=x.db", "--listen=127.0.0.1:7100", "--max-connections=9"});
  EXPECT_EQ(o.db, "x.db");
  EXPECT_EQ(o.port, 7100);
  EXPECT_EQ(o.maxConnections, 9u);
  o = ParseServerOptions({"--db", "a.db", "--db", "b.db", "--audit", "--log-level", "debug", "--log-level", "error"});
  EXPECT_EQ(o.db, "b.db") << "the last one counts";
  EXPECT_EQ(o.logLevel, "error");
  EXPECT_TRUE(ParseServerOptions({"-h"}).help);
  EXPECT_TRUE(ParseServerOptions({"--db", "x", "--listen", "h:1", "--help"}).help);
}

}  // namespace
