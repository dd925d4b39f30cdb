// dxr10900-call: calls one remote method of the application server, or one
// per line of standard input on one connection, and prints each result as
// JSON. For support staff, scripts and tests.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "data/exceptions.h"
#include "call_line.h"
#include "declared_arguments.h"
#include "net/net_connection.h"
#include "variant_json.h"

namespace {

constexpr int kRefused = 1;
constexpr int kConnectionFailed = 2;
constexpr int kUsage = 64;

const char* const kUsageText =
    "uso: dxr10900-call --server HOST:PORTA[,HOST:PORTA...] [OPÇÕES] METODO [ARG...]\n"
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

struct Options {
  std::vector<ServerAddress> servers;
  bool refs = false;
  int timeoutMs = 60000;
  std::string serverName = "DXR10900.RDMDISTRATO";
  std::string operatorCode;
  std::string passwordFile;
  bool fromStdin = false;
  bool tls = false;
  std::string caFile;
  std::string method;
  std::vector<std::string> args;
};

// Asked for, the text goes to standard output and the program succeeds; as
// the answer to a mistake, to standard error with the usage status.
[[noreturn]] void Usage(const std::string& problem) {
  if (problem.empty()) {
    std::cout << kUsageText;
    std::exit(0);
  }
  std::cerr << "dxr10900-call: " << problem << "\n" << kUsageText;
  std::exit(kUsage);
}

int Number(const std::string& text, const char* what, int low, int high) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < low || v > high) Usage(std::string(what) + " inválido: " + text);
  return static_cast<int>(v);
}

std::vector<ServerAddress> Servers(const std::string& text) {
  std::optional<std::vector<ServerAddress>> servers = ParseServerList(text);
  if (!servers) Usage("--server deve ser HOST:PORTA (ou HOST:PORTA,HOST:PORTA...): " + text);
  return *servers;
}

Options ReadOptions(int argc, char** argv) {
  Options o;
  int i = 1;
  auto next = [&](const std::string& flag) -> std::string {
    if (i + 1 >= argc) Usage(flag + " requer um valor.");
    return argv[++i];
  };
  for (; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--server") {
      o.servers = Servers(next(a));
    } else if (a == "--refs") {
      o.refs = true;
    } else if (a == "--timeout") {
      o.timeoutMs = Number(next(a), "Tempo limite", 1, 24 * 3600 * 1000);
    } else if (a == "--server-name") {
      o.serverName = next(a);
    } else if (a == "--operator") {
      o.operatorCode = next(a);
    } else if (a == "--password-file") {
      o.passwordFile = next(a);
    } else if (a == "--stdin") {
      o.fromStdin = true;
    } else if (a == "--tls") {
      o.tls = true;
    } else if (a == "--ca") {
      o.caFile = next(a);
    } else if (a == "--help" || a == "-h") {
      Usage("");
    } else if (a == "--version") {
      std::cout << "dxr10900-call " DX_VERSION "\n";
      std::exit(0);
    } else if (a == "--") {
      ++i;
      break;
    } else if (a.rfind("--", 0) == 0) {
      Usage("opção desconhecida: " + a);
    } else {
      break;
    }
  }
  if (o.fromStdin) {
    if (i < argc) Usage("com --stdin, as chamadas vêm da entrada padrão, não da linha de comando.");
  } else {
    if (i >= argc) Usage("falta o método.");
    o.method = argv[i++];
    for (; i < argc; ++i) o.args.push_back(argv[i]);
  }
  if (o.servers.empty()) {
    if (const char* env = std::getenv("DX_SERVER"); env && *env) o.servers = Servers(env);
  }
  if (o.servers.empty()) Usage("falta --server HOST:PORTA.");
  if (!o.caFile.empty() && !o.tls) Usage("--ca só vale com --tls.");
  if (o.operatorCode.empty()) {
    if (const char* env = std::getenv("DX_OPERATOR")) o.operatorCode = env;
  }
  return o;
}

std::string Password(const Options& o) {
  if (!o.passwordFile.empty()) {
    std::ifstream in(o.passwordFile);
    std::string line;
    if (!in || !std::getline(in, line)) Usage("não foi possível ler a senha de " + o.passwordFile + ".");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  const char* env = std::getenv("DX_PASSWORD");
  return env ? env : "";
}

// Makes one call and prints its outcome; the exit status it stands for.
// Transport failures pass on as ENetError.
int CallOnce(TNetConnection& net, const Options& o, const std::string& method, std::vector<Variant>& args) {
  Variant reply = net.Call(method, args);
  if (!reply[0].asBool()) {
    std::cerr << reply[1].asText() << "\n";
    return kRefused;
  }
  if (o.refs)
    std::cout << "{\"result\":" << VariantToJson(reply[1]) << ",\"args\":" << VariantToJson(Variant(args)) << "}\n";
  else
    std::cout << VariantToJson(reply[1]) << "\n";
  return 0;
}

// One call per line of standard input, on the one connection: a refused
// call is reported and the next line runs; a broken connection ends it all.
int CallsFromStdin(TNetConnection& net, const Options& o) {
  int status = 0;
  std::string line;
  for (int number = 1; std::getline(std::cin, line); ++number) {
    std::vector<Variant> args;
    std::vector<std::string> words;
    try {
      words = SplitCallLine(line);
      if (words.empty()) continue;
      args = CallArguments(words[0], std::vector<std::string>(words.begin() + 1, words.end()));
    } catch (const std::exception& e) {
      std::cerr << "linha " << number << ": " << e.what() << "\n";
      return kUsage;
    }
    if (CallOnce(net, o, words[0], args) != 0) status = kRefused;
    std::cout.flush();
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options o = ReadOptions(argc, argv);
  std::vector<Variant> args;
  if (!o.fromStdin) {
    for (const std::string& a : o.args) {
      try {
        args.push_back(CallArgument(o.method, args.size(), a));
      } catch (const JsonError& e) {
        Usage(std::string("argumento ") + std::to_string(args.size() + 1) + ": " + e.what());
      }
    }
  }

  TNetConnection net;
  net.SetServerName(o.serverName);
  net.SetHost(o.servers.front().host);
  net.SetPort(o.servers.front().port);
  if (o.servers.size() > 1) net.SetServers(o.servers);
  net.SetTimeoutMs(o.timeoutMs);
  net.SetThrowException(false);
  net.SetLogin(o.operatorCode, Password(o));
  net.SetTls(o.tls);
  net.SetCaFile(o.caFile);
  try {
    return o.fromStdin ? CallsFromStdin(net, o) : CallOnce(net, o, o.method, args);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return kConnectionFailed;
  }
}
