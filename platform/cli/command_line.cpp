#include "command_line.h"

#include <stdexcept>
#include <utility>

namespace command_line {

void Prepare(CLI::App& app, bool& help, bool& version) {
  app.set_help_flag();  // CLI11's help would replace the program's usage
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--help,-h", help);
  app.add_flag("--version", version);
}

CLI::Option* AddChecked(CLI::App& app, const std::string& name, std::function<void(const std::string&)> read) {
  return app.add_option_function<std::string>(name, std::move(read))->trigger_on_parse();
}

void Parse(CLI::App& app, const std::vector<std::string>& args, const Wording& wording) {
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes the words from the back
  try {
    app.parse(reversed);
  } catch (const CLI::ArgumentMismatch&) {
    // An option takes the word after it, whatever that word looks like: only
    // the last word can lack its value.
    throw std::invalid_argument(wording.missingValue(args.back()));
  } catch (const CLI::ParseError& e) {
    throw std::invalid_argument(wording.otherwise + e.what());
  }
}

}  // namespace command_line
