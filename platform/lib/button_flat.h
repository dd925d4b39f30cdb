#pragma once
// TButtonFlat: the flat tool-bar button of the screens. Its glyph resource
// holds two images side by side, the normal one and the one drawn while the
// button is disabled. Like every speed button it never takes the focus, and
// a click made by code runs its handler even when it is disabled.

#include <string>

#include "ui/buttons.h"

class TButtonFlat : public TSpeedButton {
 public:
  TButtonFlat();
  // Names the two-image glyph resource.
  void SetGlyphs(std::string glyph);
};
