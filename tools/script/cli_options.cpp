#include "cli_options.h"

#include <stdexcept>

namespace dxscript {

const char* Usage() {
  return "usage: distrato-script [--server HOST:PORT[,HOST:PORT...]] [--tls [--ca FILE]] [--module PATH] [--database FILE] SCRIPT\n"
         "       distrato-script --help | --version\n"
         "Runs the module headless from a scenario of user actions and expectations.\n"
         "The login comes from DX_SERVER, DX_BRANCH, DX_BRANCH_NAME, DX_BRANCH_LOCKED,\n"
         "DX_OPERATOR, DX_PASSWORD, DX_TLS, DX_CA and DX_DATE; the script's login command\n"
         "changes it before open. Several servers (--server a:7100,b:7100): a call whose\n"
         "server fails goes to the next.\n";
}

CliOptions ParseCliOptions(const std::vector<std::string>& args) {
  CliOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--server") {
      o.server = value();
    } else if (a == "--tls") {
      o.tls = true;
    } else if (a == "--ca") {
      o.ca = value();
    } else if (a == "--module") {
      o.module = value();
    } else if (a == "--database") {
      o.database = value();
    } else if (!a.empty() && a[0] == '-') {
      throw std::invalid_argument("unknown option " + a);
    } else if (o.script.empty()) {
      o.script = a;
    } else {
      throw std::invalid_argument("only one script at a time (" + o.script + ", " + a + ")");
    }
  }
  if (!o.help && !o.version && o.script.empty()) throw std::invalid_argument("no script given");
  return o;
}

}  // namespace dxscript
