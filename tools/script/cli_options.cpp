#include "cli_options.h"

#include <stdexcept>

#include "cli/command_line.h"

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
  command_line::Prepare(app, o.help, o.version);  // the usage is Usage(), which main prints
  app.allow_extras();  // a second script or an unknown option, told below
  app.add_option("--server", o.server);
  app.add_flag("--tls", o.tls);
  app.add_option("--ca", o.ca);
  app.add_option("--module", o.module);
  app.add_option("--database", o.database);
  app.add_option("script", o.script);
  command_line::Parse(app, args, {[](const std::string& option) { return option + " needs a value"; }, ""});
  if (!app.remaining().empty()) {
    const std::string extra = app.remaining().front();
    if (!extra.empty() && extra[0] == '-') throw std::invalid_argument("unknown option " + extra);
    throw std::invalid_argument("only one script at a time (" + o.script + ", " + extra + ")");
  }
  if (!o.help && !o.version && o.script.empty()) throw std::invalid_argument("no script given");
  return o;
}

}  // namespace dxscript
