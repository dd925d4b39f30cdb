#include "declared_arguments.h"

#include <optional>

#include "protocol/distrato_methods.h"
#include "variant_json.h"

namespace {

// The kind declared for the argument; nothing for a method the protocol does
// not declare or a position past its arguments.
std::optional<protocol::ArgKind> DeclaredKind(std::string_view method, std::size_t index) {
  std::optional<protocol::ArgKind> kind;
  protocol::DistratoMethods::ForEach([&]<class M>() {
    if (M::kName != method) return;
    const std::vector<protocol::ArgInfo> args = protocol::Describe<M>();
    if (index < args.size()) kind = args[index].kind;
  });
  return kind;
}

bool Digits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

}  // namespace

bool ParseDay(std::string_view text, DateTime& out) {
  if (text.size() != 10) return false;
  std::string dayFirst;
  if (text[2] == '/' && text[5] == '/' && Digits(text.substr(0, 2)) && Digits(text.substr(3, 2)) &&
      Digits(text.substr(6, 4))) {
    dayFirst = std::string(text);
  } else if (text[4] == '-' && text[7] == '-' && Digits(text.substr(0, 4)) && Digits(text.substr(5, 2)) &&
             Digits(text.substr(8, 2))) {
    dayFirst = std::string(text.substr(8, 2)) + "/" + std::string(text.substr(5, 2)) + "/" +
               std::string(text.substr(0, 4));
  } else {
    return false;
  }
  return ParseDateTime(dayFirst, out);
}

Variant CallArgument(std::string_view method, std::size_t index, const std::string& text) {
  DateTime day;
  if (DeclaredKind(method, index) == protocol::ArgKind::Date && ParseDay(text, day)) return Variant(day);
  return ArgumentValue(text);
}

std::vector<Variant> CallArguments(std::string_view method, const std::vector<std::string>& texts) {
  std::vector<Variant> args;
  for (std::size_t i = 0; i < texts.size(); ++i) args.push_back(CallArgument(method, i, texts[i]));
  return args;
}
