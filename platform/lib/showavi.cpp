#include "lib/showavi.h"

#include "ui/ui_service.h"

namespace {
bool& Showing() {
  static bool showing = false;
  return showing;
}
}  // namespace

// The renderer places the animation over the application's main window
// itself, and there is only one kind of animation; both arguments are kept
// for the callers.
void ActiveShowAvi(TForm* /*mainForm*/, int /*kind*/, const std::string& text) {
  Ui().ShowProgress(text);
  Showing() = true;
}

void DeactiveShowAvi() {
  if (!Showing()) return;
  Showing() = false;
  Ui().HideProgress();
}

bool ShowAviActive() { return Showing(); }
