#include "call_options.h"

#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "cli/command_line.h"

namespace {

int Number(const std::string& text, const char* what, int low, int high) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < low || v > high)
    throw std::invalid_argument(std::string(what) + " inválido: " + text);
  return static_cast<int>(v);
}

std::vector<ServerAddress> Servers(const std::string& text) {
  std::optional<std::vector<ServerAddress>> servers = ParseServerList(text);
  if (!servers) throw std::invalid_argument("--server deve ser HOST:PORTA (ou HOST:PORTA,HOST:PORTA...): " + text);
  return *servers;
}

}  // namespace

const char* CallUsage() {
  return "uso: dxr10900-call --server HOST:PORTA[,HOST:PORTA...] [OPÇÕES] METODO [ARG...]\n"
         "     dxr10900-call --server HOST:PORTA[,HOST:PORTA...] [OPÇÕES] --stdin\n"
         "     dxr10900-call --help | --version\n"
         "  --server (padrão: DX_SERVER): com vários servidores, a chamada cujo servidor falha\n"
         "  vai ao seguinte, com a mesma chave de requisição.\n"
         "  Cada ARG é lido como JSON quando é JSON (true, 12, \"texto\", [1,2], null,\n"
         "  {\"fields\":[...],\"rows\":[...]} para um pacote); senão, como texto. Onde o protocolo\n"
         "  declara uma data, ARG também pode ser dd/mm/aaaa ou aaaa-mm-dd (ou o número do dia).\n"
         "  --operator CÓDIGO     operador do login (padrão: DX_OPERATOR); a senha vem de DX_PASSWORD\n"
         "  --password-file ARQ   ou da primeira linha deste arquivo (nunca da linha de comando)\n"
         "  --stdin               uma chamada por linha da entrada (METODO ARG..., palavras como no shell),\n"
         "                        todas na mesma conexão; uma linha de resultado por chamada\n"
         "  --tls [--ca ARQ]      conexão TLS; ARQ: certificado PEM de uma CA própria a aceitar\n"
         "  --refs  imprime {\"result\":...,\"args\":[...]} com os argumentos devolvidos pelo servidor.\n"
         "  --timeout MS, --server-name NOME\n"
         "Saída: 0 sucesso; 1 chamada recusada pelo servidor; 2 falha de conexão ou login; 64 uso incorreto.\n";
}

CallOptions ParseCallOptions(const std::vector<std::string>& args) {
  CallOptions o;
  CLI::App app;
  command_line::Prepare(app, o.help, o.version);  // the usage is CallUsage(), which main prints
  // Options come before the method: from it on every word is the call's,
  // whatever it looks like ("--", a negative number, a packet in JSON).
  app.prefix_command();
  command_line::AddChecked(app, "--server", [&o](const std::string& text) { o.servers = Servers(text); })
      ->envname("DX_SERVER");
  app.add_flag("--refs", o.refs);
  command_line::AddChecked(app, "--timeout",
                           [&o](const std::string& text) { o.timeoutMs = Number(text, "Tempo limite", 1, 24 * 3600 * 1000); });
  app.add_option("--server-name", o.serverName);
  app.add_option("--operator", o.operatorCode)->envname("DX_OPERATOR");
  app.add_option("--password-file", o.passwordFile);
  app.add_flag("--stdin", o.fromStdin);
  app.add_flag("--tls", o.tls);
  app.add_option("--ca", o.caFile);
  command_line::Parse(app, args, {[](const std::string& option) { return option + " requer um valor."; }, ""});
  if (o.help || o.version) return o;
  std::vector<std::string> call = app.remaining();
  if (!call.empty() && call.front() == "--")
    call.erase(call.begin());  // what follows is the method, even one that looks like an option
  else if (!call.empty() && call.front().rfind("--", 0) == 0)
    throw std::invalid_argument("opção desconhecida: " + call.front());
  if (o.fromStdin) {
    if (!call.empty())
      throw std::invalid_argument("com --stdin, as chamadas vêm da entrada padrão, não da linha de comando.");
  } else {
    if (call.empty()) throw std::invalid_argument("falta o método.");
    o.method = call.front();
    o.args.assign(call.begin() + 1, call.end());
  }
  if (o.servers.empty()) throw std::invalid_argument("falta --server HOST:PORTA.");
  if (!o.caFile.empty() && !o.tls) throw std::invalid_argument("--ca só vale com --tls.");
  return o;
}
