#include "lib/child_enabled.h"

#include "ui/control.h"

void SetChildEnabled(TWinControl& container, bool enabled) {
  for (TControl* child : container.Controls()) child->SetEnabled(enabled);
}
