#include "lib/button_flat.h"

TButtonFlat::TButtonFlat() {
  SetFlat(true);
  SetNumGlyphs(2);
  SetShowHint(true);
}

void TButtonFlat::SetGlyphs(std::string glyph) {
  SetGlyph(std::move(glyph));
  SetNumGlyphs(2);
}
