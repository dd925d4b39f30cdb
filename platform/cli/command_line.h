#pragma once
// Reading a program's command line with CLI11 the way our programs do: the
// program prints its own usage and version, the last of an option given
// twice counts, and a mistake comes back as std::invalid_argument in the
// program's own words. For the programs only; the module has no command line.

#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace command_line {

// How a program words a mistake CLI11 finds.
struct Wording {
  std::function<std::string(const std::string& option)> missingValue;  // the option given last, without its value
  std::string otherwise;  // put before CLI11's own message for any other mistake
};

// Prepares `app`: --help or -h sets `help`, --version sets `version` (the
// program prints its own texts), and the last of an option given twice
// counts.
void Prepare(CLI::App& app, bool& help, bool& version);

// An option whose every value goes to `read` as it comes, in command-line
// order, so that the first bad value is the one told; `read` throws
// std::invalid_argument for a bad one.
CLI::Option* AddChecked(CLI::App& app, const std::string& name, std::function<void(const std::string&)> read);

// Reads `args` (without the program's name) into `app`. Throws
// std::invalid_argument: `read`'s own, or what CLI11 found, worded by
// `wording`.
void Parse(CLI::App& app, const std::vector<std::string>& args, const Wording& wording);

}  // namespace command_line
