#include "ui/splitter.h"

#include <algorithm>

#include "ui/run_handler.h"

TSplitter::TSplitter() {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
}

TControl* TSplitter::ResizedControl() const {
  if (!Parent() || Align() == alNone || Align() == alClient) return nullptr;
  TControl* found = nullptr;
  for (TControl* c : Parent()->Controls()) {
    if (c == this) break;
    if (c->Align() == Align() && c->Visible()) found = c;
  }
  return found;
}

void TSplitter::UserDrag(int delta) {
  TControl* target = ResizedControl();
  if (!target || delta == 0 || !EffectivelyEnabled()) return;
  // Dragging toward the resized control shrinks it.
  bool grows_forward = Align() == alTop || Align() == alLeft;
  int change = grows_forward ? delta : -delta;
  if (Align() == alTop || Align() == alBottom) {
    target->SetHeight(std::max(target->Height() + change, min_size_));
  } else {
    target->SetWidth(std::max(target->Width() + change, min_size_));
  }
  RunHandler([this] {
    if (OnMoved) OnMoved(this);
  });
}
