#include "operations/refusal_translation.h"

#include "lib/crv_msg.h"
#include "workspace/catalogue.h"

namespace operations {

std::optional<std::string> TranslateServerRefusal(const std::string& message,
                                                  const std::vector<std::string>& catalogue) {
  if (message.find("N_PARAM_") == std::string::npos) return std::nullopt;
  const std::size_t bar = message.find('|');
  const std::string key = message.substr(0, bar);
  std::optional<std::string> text = workspace::FindMessage(catalogue, key);
  if (!text) return std::nullopt;
  if (bar == std::string::npos) return text;
  return FormatMsg(*text, message.substr(bar + 1));
}

}  // namespace operations
