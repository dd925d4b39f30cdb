#pragma once
// A parsed scenario: one command per source line, with the commands of an
// `on-modal` block nested under it.

#include <string>
#include <vector>

namespace dxscript {

struct Token {
  std::string text;
  bool quoted = false;  // written between double quotes: never a key=value option
};

struct Option {
  std::string key;
  std::string value;
};

struct Command {
  int line = 0;
  std::string source;                // the line as written, without its comment
  std::string verb;                  // "type", "expect", "click!", ...
  std::vector<Token> args;           // positional words after the verb
  std::vector<Option> options;       // key=value words, in order
  std::vector<Command> block;        // the commands of an on-modal block

  const std::string* FindOption(const std::string& key) const;
};

struct Script {
  std::vector<Command> commands;
};

}  // namespace dxscript
