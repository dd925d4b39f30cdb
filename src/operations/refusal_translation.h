#pragma once
// The server refuses with a catalogue key: "N_PARAM_X" alone, or
// "N_PARAM_X|parameter". The operations show the screen's text for it.

#include <optional>
#include <string>
#include <vector>

namespace operations {

// The text the user sees for a server refusal: the catalogue text of the key
// before the first "|", its "%s" replaced by what follows the "|". Nothing
// when the message holds no "N_PARAM_" or names a key the catalogue lacks:
// such an error is passed on unchanged rather than shown as a bare key.
std::optional<std::string> TranslateServerRefusal(const std::string& message,
                                                  const std::vector<std::string>& catalogue);

}  // namespace operations
