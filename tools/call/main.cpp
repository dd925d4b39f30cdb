// dxr10900-call: calls one remote method of the application server and
// prints its result as JSON. For support staff, scripts and tests.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "data/exceptions.h"
#include "net/net_connection.h"
#include "variant_json.h"

namespace {

constexpr int kRefused = 1;
constexpr int kConnectionFailed = 2;
constexpr int kUsage = 64;

const char* const kUsageText =
    "uso: dxr10900-call --server HOST:PORTA [--refs] [--timeout MS] [--server-name NOME] METODO [ARG...]\n"
    "     dxr10900-call --help | --version\n"
    "  Cada ARG é lido como JSON quando é JSON (true, 12, \"texto\", [1,2], null,\n"
    "  {\"fields\":[...],\"rows\":[...]} para um pacote); senão, como texto.\n"
    "  --refs  imprime {\"result\":...,\"args\":[...]} com os argumentos devolvidos pelo servidor.\n"
    "Saída: 0 sucesso; 1 chamada recusada pelo servidor; 2 falha de conexão; 64 uso incorreto.\n";

struct Options {
  std::string host;
  int port = 0;
  bool refs = false;
  int timeoutMs = 60000;
  std::string serverName = "DXR10900.RDMDISTRATO";
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
      std::string hp = next(a);
      auto colon = hp.rfind(':');
      if (colon == std::string::npos || colon == 0) Usage("--server deve ser HOST:PORTA.");
      o.host = hp.substr(0, colon);
      o.port = Number(hp.substr(colon + 1), "Porta", 1, 65535);
    } else if (a == "--refs") {
      o.refs = true;
    } else if (a == "--timeout") {
      o.timeoutMs = Number(next(a), "Tempo limite", 1, 24 * 3600 * 1000);
    } else if (a == "--server-name") {
      o.serverName = next(a);
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
  if (i >= argc) Usage("falta o método.");
  o.method = argv[i++];
  for (; i < argc; ++i) o.args.push_back(argv[i]);
  if (o.host.empty()) Usage("falta --server HOST:PORTA.");
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  Options o = ReadOptions(argc, argv);
  std::vector<Variant> args;
  for (const std::string& a : o.args) {
    try {
      args.push_back(ArgumentValue(a));
    } catch (const JsonError& e) {
      Usage(std::string("argumento ") + std::to_string(args.size() + 1) + ": " + e.what());
    }
  }

  TNetConnection net;
  net.SetServerName(o.serverName);
  net.SetHost(o.host);
  net.SetPort(o.port);
  net.SetTimeoutMs(o.timeoutMs);
  net.SetThrowException(false);
  Variant reply;
  try {
    reply = net.Call(o.method, args);
  } catch (const ENetError& e) {
    std::cerr << e.what() << "\n";
    return kConnectionFailed;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return kConnectionFailed;
  }

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
