#include "lib/crv_msg.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "data/exceptions.h"

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// Line "KEY|text" split at its first "|"; a line without one holds no message.
struct CatalogueLine {
  std::string_view key;
  std::string_view text;
};

std::optional<CatalogueLine> Split(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t bar = line.find('|');
  if (bar == std::string_view::npos) return std::nullopt;
  return CatalogueLine{line.substr(0, bar), line.substr(bar + 1)};
}

}  // namespace

std::string TMessages::Msg(std::string_view key) const {
  std::optional<std::string_view> caseless;
  for (const std::string& line : Messages) {
    const auto entry = Split(line);
    if (!entry) continue;
    if (entry->key == key) return std::string(entry->text);
    if (!caseless && SameIgnoringCase(entry->key, key)) caseless = entry->text;
  }
  return std::string(caseless ? *caseless : key);
}

std::string TMessages::MsgFmt(std::string_view key, std::string_view argument) const {
  return FormatMsg(Msg(key), argument);
}

int TMessages::ShowMsg(std::string_view key, int type, int buttons, int helpContext) const {
  if (!Handler()) throw Exception("Nenhuma caixa de mensagem disponível para mostrar: " + Msg(key));
  return Handler()(Msg(key), type, buttons, helpContext);
}

void TMessages::SetShowHandler(ShowHandler handler) { Handler() = std::move(handler); }

TMessages::ShowHandler& TMessages::Handler() {
  static ShowHandler handler;
  return handler;
}

std::string FormatMsg(std::string_view text, std::string_view argument) {
  const std::size_t at = text.find("%s");
  if (at == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, at));
  out += argument;
  out += text.substr(at + 2);
  return out;
}
