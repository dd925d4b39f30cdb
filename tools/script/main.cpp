// distrato-script: runs the module headless from a scenario and says, step
// by step, what happened. Exit status: 0 when every expectation held, 1 at
// the first failure, 2 when the script or the setup is wrong.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli_options.h"
#include "hostdb/host_database.h"
#include "lib/corvane.h"
#include "module_loader.h"
#include "script_parser.h"
#include "script_runner.h"
#include "ui/scripted_ui.h"

namespace {

int Finish(int status) {
  std::cout.flush();
  std::cerr.flush();
  // The module's forms stay alive to the end: leaving without running
  // static destructors spares tearing them down after their library's own.
  std::_Exit(status);
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dxscript;
  CliOptions options;
  try {
    options = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "distrato-script: " << e.what() << "\n" << Usage();
    return 2;
  }
  if (options.help) {
    std::cout << Usage();
    return 0;
  }
  if (options.version) {
    std::cout << "distrato-script " DX_VERSION "\n";
    return 0;
  }

  std::string text;
  if (!ReadFile(options.script, text)) {
    std::cerr << "distrato-script: cannot read " << options.script << "\n";
    return 2;
  }
  Script script;
  RunnerSetup setup;
  try {
    script = ParseScript(text);
    setup.login = LoginEnvironmentFromEnv();
    if (options.tls) setup.login.serverTls = true;
    if (!options.ca.empty()) setup.login.serverCaFile = options.ca;
    if (!options.server.empty() && !SetLoginServers(setup.login, options.server))
      throw std::invalid_argument("--server must be HOST:PORT, not " + options.server);
    if (!options.database.empty()) dtmDBGeral().Open(options.database);
  } catch (const ScriptSyntaxError& e) {
    std::cerr << options.script << ":" << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "distrato-script: " << e.what() << "\n";
    return 2;
  }

  ScriptedUi ui;
  SetUi(&ui);
  ModuleEntry entry = nullptr;
  setup.load = [&] { entry = LoadModuleEntry(options.module); };
  setup.open = [&] { entry(); };

  RunResult result;
  try {
    result = RunScript(script, ui, setup, std::cout);
  } catch (const ScriptSyntaxError& e) {
    std::cerr << options.script << ":" << e.what() << "\n";
    return Finish(2);
  }
  if (!result.Ok()) {
    std::cout << "FAILED at " << (result.failed_line > 0 ? "line " + std::to_string(result.failed_line) : "the end")
              << ": " << result.failure << "\n";
  }
  std::cout << Summary(result) << "\n";
  return Finish(result.Ok() ? 0 : 1);
}
