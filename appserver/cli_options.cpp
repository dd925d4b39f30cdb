#include "cli_options.h"

#include <charconv>
#include <optional>
#include <stdexcept>

#include "audit/audit_report.h"
#include "data/formats.h"
#include "net/server_address.h"
#include "storage/database_target.h"
#include "net/refusal.h"

namespace {

constexpr int kMaxParties = 1000000;
constexpr long kMaxConnections = 100000;

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
  bool partiesGiven = false;
  bool maxConnectionsGiven = false;
  bool listenOnlyGiven = false;     // an option that only serving reads
  bool minPasswordGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw std::invalid_argument("Falta o valor de " + a + ".");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--db") {
      o.db = value();
    } else if (a == "--init-demo") {
      o.initDemo = true;
    } else if (a == "--parties") {
      o.parties = static_cast<int>(parseNumber(value(), 1, kMaxParties, "Número de contratantes"));
      partiesGiven = true;
    } else if (a == "--demo-date") {
      const std::string& text = value();
      const std::optional<DateTime> day = ParseDemoDate(text);
      if (!day) throw std::invalid_argument("Data inválida em --demo-date: \"" + text + "\" (DD/MM/AAAA ou AAAA-MM-DD).");
      o.demoDate = day->days;
    } else if (a == "--max-connections") {
      o.maxConnections = static_cast<std::size_t>(parseNumber(value(), 1, kMaxConnections, "Limite de conexões"));
      maxConnectionsGiven = true;
    } else if (a == "--max-connections-per-address") {
      o.maxConnectionsPerAddress =
          static_cast<std::size_t>(parseNumber(value(), 1, kMaxConnections, "Limite de conexões por endereço"));
      listenOnlyGiven = true;
    } else if (a == "--reserved-connections") {
      o.reservedConnections =
          static_cast<std::size_t>(parseNumber(value(), 0, kMaxConnections, "Conexões reservadas"));
      listenOnlyGiven = true;
    } else if (a == "--insecure-plain-tcp") {
      o.insecurePlainTcp = true;
      listenOnlyGiven = true;
    } else if (a == "--min-password-length") {
      o.minPasswordLength = static_cast<std::size_t>(parseNumber(value(), 1, 128, "Tamanho mínimo da senha"));
      minPasswordGiven = true;
    } else if (a == "--locks") {
      o.locks = true;
    } else if (a == "--unlock") {
      o.unlock = value();
    } else if (a == "--log-level") {
      o.logLevel = value();
      if (o.logLevel != "error" && o.logLevel != "warning" && o.logLevel != "info" && o.logLevel != "debug")
        throw std::invalid_argument("Nível de registro inválido: \"" + o.logLevel +
                                    "\" (error, warning, info ou debug).");
    } else if (a == "--tls-cert") {
      o.tlsCert = value();
    } else if (a == "--tls-key") {
      o.tlsKey = value();
    } else if (a == "--add-operator") {
      o.addOperator = value();
    } else if (a == "--name") {
      o.operatorName = value();
    } else if (a == "--role") {
      o.operatorRole = value();
    } else if (a == "--set-password") {
      o.setPassword = value();
    } else if (a == "--audit") {
      o.audit = true;
    } else if (a == "--since") {
      o.since = value();
      if (!IsIsoDate(o.since)) throw std::invalid_argument("Data inválida em --since: \"" + o.since + "\" (AAAA-MM-DD).");
    } else if (a == "--listen") {
      parseAddress(value(), o.host, o.port);
      o.listen = true;
    } else if (a == "--metrics-listen") {
      std::uint16_t port = 0;
      parseAddress(value(), o.metricsHost, port);
      o.metricsPort = port;
    } else if (a == "--backup") {
      o.backup = value();
    } else {
      throw std::invalid_argument("Opção desconhecida: " + a);
    }
  }
  if (o.help || o.version) return o;
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
  if (maxConnectionsGiven && !o.listen) throw std::invalid_argument("--max-connections só vale com --listen.");
  if (o.demoDate && !o.initDemo) throw std::invalid_argument("--demo-date só vale com --init-demo.");
  if (listenOnlyGiven && !o.listen)
    throw std::invalid_argument(
        "--max-connections-per-address, --reserved-connections e --insecure-plain-tcp só valem com --listen.");
  if (minPasswordGiven && o.setPassword.empty())
    throw std::invalid_argument("--min-password-length só vale com --set-password.");
  if (partiesGiven && !o.initDemo) throw std::invalid_argument("--parties só vale com --init-demo.");
  return o;
}

std::string PlainTcpRefusal(const ServerOptions& o, bool loopback) {
  if (!o.tlsCert.empty() || loopback || o.insecurePlainTcp) return {};
  return "O endereço " + o.host +
         " é alcançável por outras máquinas e o servidor está sem TLS: senhas e dados iriam em texto aberto pela rede."
         " Informe --tls-cert ARQUIVO --tls-key ARQUIVO (veja o README), ou --insecure-plain-tcp para aceitar o risco.";
}
