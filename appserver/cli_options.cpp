#include "cli_options.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>
#include <stdexcept>
#include <type_traits>

#include "audit/audit_report.h"
#include "cli/command_line.h"
#include "data/formats.h"
#include "net/server_address.h"
#include "storage/database_target.h"
#include "net/refusal.h"

namespace {

constexpr int kMaxParties = 1000000;
constexpr long kMaxConnections = 100000;
// Each worker holds a database connection; PostgreSQL allows 100 by default.
constexpr long kMaxWorkers = 128;

long parseNumber(const std::string& text, long min, long max, const std::string& what) {
  long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
    throw std::invalid_argument(what + ": valor inválido \"" + text + "\" (de " + std::to_string(min) + " a " +
                                std::to_string(max) + ").");
  return value;
}

// A day as the screens write it (DD/MM/AAAA) or as the audit options do (AAAA-MM-DD).
std::optional<DateTime> ParseDemoDate(const std::string& text) {
  if (IsIsoDate(text))
    return EncodeDate(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2)));
  const std::optional<DateTime> day = ParseDate(text);
  if (!day || HasTime(*day)) return std::nullopt;
  return day;
}

// HOST:PORT, the port from 0 (any free one) to 65535.
void parseAddress(const std::string& address, std::string& host, std::uint16_t& port) {
  int number = 0;
  if (ParseServerAddress(address, host, number, 0)) {
    port = static_cast<std::uint16_t>(number);
    return;
  }
  // Say what is wrong: the port when there is one.
  const auto colon = address.rfind(':');
  if (colon != std::string::npos && colon != 0) parseNumber(address.substr(colon + 1), 0, 65535, "Porta");
  throw std::invalid_argument("Endereço inválido: \"" + address + "\" (esperado HOST:PORTA).");
}

}  // namespace

const char* ServerUsage() {
  return "Uso:\n"
         "  dxr10900-server --db ARQUIVO --listen HOST:PORTA      serve (porta 0 escolhe uma livre)\n"
         "      [--max-connections N]   conexões simultâneas (256); além delas, o cliente é recusado\n"
         "      [--max-connections-per-address N]  conexões ainda sem login por endereço de cliente (32)\n"
         "      [--reserved-connections N]  lugares guardados para conexões com login (32; no máximo metade)\n"
         "      [--workers N]           chamadas atendidas ao mesmo tempo, cada uma com sua conexão ao banco (8);\n"
         "                              servidores numa mesma máquina dividem esse número entre si\n"
         "      [--log-level NÍVEL]     error, warning, info (padrão) ou debug; registro na saída de erros\n"
         "      [--tls-cert ARQUIVO --tls-key ARQUIVO]  TLS em toda conexão (certificado e chave PEM)\n"
         "      [--insecure-plain-tcp]  aceita TCP sem TLS num endereço que não é o local: senhas em texto aberto na rede\n"
         "      [--metrics-listen HOST:PORTA]  métricas Prometheus (/metrics), /healthz e /readyz por HTTP\n"
         "  dxr10900-server --db ARQUIVO --init-demo [--parties N] [--demo-date DD/MM/AAAA]\n"
         "      recria o banco de demonstração; o dia de trabalho das filiais é 08/12/2026, ou o de --demo-date,\n"
         "      e todas as datas do banco acompanham esse dia\n"
         "  dxr10900-server --db ARQUIVO --add-operator CÓDIGO --name NOME --role SUPERVISOR|GERENTE|OPERADOR\n"
         "  dxr10900-server --db ARQUIVO --set-password CÓDIGO [--min-password-length N]  senha lida do terminal\n"
         "                                                       (sem eco) ou da entrada; ao menos N caracteres (8)\n"
         "  dxr10900-server --db ARQUIVO --locks                  bloqueios e tentativas de login inválidas\n"
         "  dxr10900-server --db ARQUIVO --unlock CÓDIGO          remove os bloqueios do operador (ou do endereço)\n"
         "  dxr10900-server --db ARQUIVO --backup SAIDA           cópia online verificada de um banco SQLite em uso\n"
         "  dxr10900-server --db ARQUIVO --audit [--since AAAA-MM-DD] trilha de auditoria, mais recente primeiro\n"
         "  dxr10900-server --help | --version\n"
         "ARQUIVO: o arquivo SQLite; ou um banco PostgreSQL: postgresql://USUÁRIO@HOST/BANCO ou \"host=… dbname=…\"\n";
}

ServerOptions ParseServerOptions(const std::vector<std::string>& args) {
  ServerOptions o;
  CLI::App app;
  command_line::Prepare(app, o.help, o.version);  // the usage is ServerUsage(), which main prints
  app.allow_extras();  // left over and named below, in the server's words
  const auto checked = [&app](const std::string& name, std::function<void(const std::string&)> read) {
    return command_line::AddChecked(app, name, std::move(read));
  };
  const auto number = [&checked](const std::string& name, long min, long max, const std::string& what, auto& target) {
    return checked(name, [&target, min, max, what](const std::string& text) {
      target = static_cast<std::remove_reference_t<decltype(target)>>(parseNumber(text, min, max, what));
    });
  };
  app.add_option("--db", o.db);
  app.add_flag("--init-demo", o.initDemo);
  const CLI::Option* parties = number("--parties", 1, kMaxParties, "Número de contratantes", o.parties);
  checked("--demo-date", [&o](const std::string& text) {
    const std::optional<DateTime> day = ParseDemoDate(text);
    if (!day) throw std::invalid_argument("Data inválida em --demo-date: \"" + text + "\" (DD/MM/AAAA ou AAAA-MM-DD).");
    o.demoDate = day->days;
  });
  const CLI::Option* maxConnections =
      number("--max-connections", 1, kMaxConnections, "Limite de conexões", o.maxConnections);
  // Options that only serving reads.
  const CLI::Option* listenOnly[] = {
      number("--max-connections-per-address", 1, kMaxConnections, "Limite de conexões por endereço",
             o.maxConnectionsPerAddress),
      number("--reserved-connections", 0, kMaxConnections, "Conexões reservadas", o.reservedConnections),
      number("--workers", 1, kMaxWorkers, "Chamadas ao mesmo tempo", o.workers),
      app.add_flag("--insecure-plain-tcp", o.insecurePlainTcp),
  };
  const CLI::Option* minPassword =
      number("--min-password-length", 1, 128, "Tamanho mínimo da senha", o.minPasswordLength);
  app.add_flag("--locks", o.locks);
  app.add_option("--unlock", o.unlock);
  checked("--log-level", [&o](const std::string& level) {
    if (level != "error" && level != "warning" && level != "info" && level != "debug")
      throw std::invalid_argument("Nível de registro inválido: \"" + level + "\" (error, warning, info ou debug).");
    o.logLevel = level;
  });
  app.add_option("--tls-cert", o.tlsCert);
  app.add_option("--tls-key", o.tlsKey);
  app.add_option("--add-operator", o.addOperator);
  app.add_option("--name", o.operatorName);
  app.add_option("--role", o.operatorRole);
  app.add_option("--set-password", o.setPassword);
  app.add_flag("--audit", o.audit);
  checked("--since", [&o](const std::string& day) {
    if (!IsIsoDate(day)) throw std::invalid_argument("Data inválida em --since: \"" + day + "\" (AAAA-MM-DD).");
    o.since = day;
  });
  checked("--listen", [&o](const std::string& address) {
    parseAddress(address, o.host, o.port);
    o.listen = true;
  });
  checked("--metrics-listen", [&o](const std::string& address) {
    std::uint16_t port = 0;
    parseAddress(address, o.metricsHost, port);
    o.metricsPort = port;
  });
  app.add_option("--backup", o.backup);

  command_line::Parse(app, args,
                      {[](const std::string& option) { return "Falta o valor de " + option + "."; },
                       "Linha de comando inválida: "});
  if (!app.remaining().empty()) throw std::invalid_argument("Opção desconhecida: " + app.remaining().front());
  if (o.help || o.version) return o;
  const auto given = [](const CLI::Option* option) { return option->count() > 0; };
  if (o.db.empty()) throw std::invalid_argument("Informe o banco de dados com --db ARQUIVO.");
  // The command line is visible to every user of the machine (ps, /proc).
  if (storage::RedactedTarget(o.db) != o.db)
    throw std::invalid_argument(
        "A senha do banco de dados não vai na linha de comando, onde outros usuários a veem: deixe-a no arquivo de "
        "senhas do libpq (~/.pgpass ou PGPASSFILE) ou num arquivo de serviço (PGSERVICEFILE, --db \"service=NOME\").");
  const int modes = (o.initDemo ? 1 : 0) + (o.listen ? 1 : 0) + (o.audit ? 1 : 0) + (o.addOperator.empty() ? 0 : 1) +
                    (o.setPassword.empty() ? 0 : 1) + (o.locks ? 1 : 0) + (o.unlock.empty() ? 0 : 1) +
                    (o.backup.empty() ? 0 : 1);
  if (modes != 1)
    throw std::invalid_argument(
        "Informe uma destas: --listen HOST:PORTA, --init-demo, --audit, --backup SAIDA, --add-operator CÓDIGO, "
        "--set-password CÓDIGO, --locks ou --unlock CÓDIGO.");
  if (o.metricsPort && !o.listen) throw std::invalid_argument("--metrics-listen só vale com --listen.");
  if (!o.since.empty() && !o.audit) throw std::invalid_argument("--since só vale com --audit.");
  if (!o.addOperator.empty() && (o.operatorName.empty() || o.operatorRole.empty()))
    throw std::invalid_argument("--add-operator pede --name NOME e --role SUPERVISOR|GERENTE|OPERADOR.");
  if (o.addOperator.empty() && (!o.operatorName.empty() || !o.operatorRole.empty()))
    throw std::invalid_argument("--name e --role só valem com --add-operator.");
  if (o.tlsCert.empty() != o.tlsKey.empty())
    throw std::invalid_argument("Informe --tls-cert e --tls-key juntos.");
  if (!o.tlsCert.empty() && !o.listen) throw std::invalid_argument("--tls-cert e --tls-key só valem com --listen.");
  if (given(maxConnections) && !o.listen) throw std::invalid_argument("--max-connections só vale com --listen.");
  if (o.demoDate && !o.initDemo) throw std::invalid_argument("--demo-date só vale com --init-demo.");
  if (std::any_of(std::begin(listenOnly), std::end(listenOnly), given) && !o.listen)
    throw std::invalid_argument(
        "--max-connections-per-address, --reserved-connections, --workers e --insecure-plain-tcp só valem com "
        "--listen.");
  if (given(minPassword) && o.setPassword.empty())
    throw std::invalid_argument("--min-password-length só vale com --set-password.");
  if (given(parties) && !o.initDemo) throw std::invalid_argument("--parties só vale com --init-demo.");
  return o;
}

std::string PlainTcpRefusal(const ServerOptions& o, bool loopback) {
  if (!o.tlsCert.empty() || loopback || o.insecurePlainTcp) return {};
  return "O endereço " + o.host +
         " é alcançável por outras máquinas e o servidor está sem TLS: senhas e dados iriam em texto aberto pela rede."
         " Informe --tls-cert ARQUIVO --tls-key ARQUIVO (veja o README), ou --insecure-plain-tcp para aceitar o risco.";
}
