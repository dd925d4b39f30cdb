#include "cli_options.h"

#include <stdexcept>

#include <CLI/CLI.hpp>

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
  CLI::App app;
  app.set_help_flag();  // the usage is Usage(), which main prints
  app.allow_extras();   // a second script or an unknown option, told below
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--help,-h", o.help);
  app.add_flag("--version", o.version);
  app.add_option("--server", o.server);
  app.add_flag("--tls", o.tls);
  app.add_option("--ca", o.ca);
  app.add_option("--module", o.module);
  app.add_option("--database", o.database);
  app.add_option("script", o.script);

  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 reads from the back
  try {
    app.parse(reversed);
  } catch (const CLI::ArgumentMismatch&) {
    // An option takes the word after it, whatever it is: only the last word
    // can lack its value.
    throw std::invalid_argument(args.back() + " needs a value");
  } catch (const CLI::ParseError& e) {
    throw std::invalid_argument(e.what());
  }
  if (!app.remaining().empty()) {
    const std::string extra = app.remaining().front();
    if (!extra.empty() && extra[0] == '-') throw std::invalid_argument("unknown option " + extra);
    throw std::invalid_argument("only one script at a time (" + o.script + ", " + extra + ")");
  }
  if (!o.help && !o.version && o.script.empty()) throw std::invalid_argument("no script given");
  return o;
}

}  // namespace dxscript
