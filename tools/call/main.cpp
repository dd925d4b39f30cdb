// dxr10900-call: calls one remote method of the application server, or one
// per line of standard input on one connection, and prints each result as
// JSON. For support staff, scripts and tests.

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "data/exceptions.h"
#include "call_line.h"
#include "call_options.h"
#include "declared_arguments.h"
#include "net/net_connection.h"
#include "variant_json.h"

namespace {

constexpr int kRefused = 1;
constexpr int kConnectionFailed = 2;
constexpr int kUsage = 64;

// Asked for, the text goes to standard output and the program succeeds; as
// the answer to a mistake, to standard error with the usage status.
[[noreturn]] void Usage(const std::string& problem) {
  if (problem.empty()) {
    std::cout << CallUsage();
    std::exit(0);
  }
  std::cerr << "dxr10900-call: " << problem << "\n" << CallUsage();
  std::exit(kUsage);
}

std::string Password(const CallOptions& o) {
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
int CallOnce(TNetConnection& net, const CallOptions& o, const std::string& method, std::vector<Variant>& args) {
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
int CallsFromStdin(TNetConnection& net, const CallOptions& o) {
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
  CallOptions o;
  try {
    o = ParseCallOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    Usage(e.what());
  }
  if (o.help) Usage("");
  if (o.version) {
    std::cout << "dxr10900-call " DX_VERSION "\n";
    return 0;
  }
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
