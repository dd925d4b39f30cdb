#pragma once
// Pictures for the tool-bar buttons' glyph names, taken from the Qt style's
// standard icons so the program ships no images of its own.

#include <QIcon>
#include <string>

namespace dxqt {

// A null icon for a name it does not know.
QIcon glyphIcon(const std::string& glyph);

}  // namespace dxqt
