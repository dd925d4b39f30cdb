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

int TSplitter::RoomLeft() const {
  const bool vertical_stack = Align() == alTop || Align() == alBottom;
  const TRect client = Parent()->ClientRect();
  int room = vertical_stack ? client.Height() : client.Width();
  for (TControl* c : Parent()->Controls()) {
    if (!c->Visible()) continue;
    const TAlign a = c->Align();
    if (vertical_stack && (a == alTop || a == alBottom)) room -= c->Height();
    if (!vertical_stack && (a == alLeft || a == alRight)) room -= c->Width();
  }
  return room;
}

int TSplitter::UserDrag(int delta) {
  TControl* target = ResizedControl();
  if (!target || delta == 0 || !EffectivelyEnabled()) return 0;
  const bool vertical_stack = Align() == alTop || Align() == alBottom;
  // Dragging toward the resized control shrinks it.
  const bool grows_forward = Align() == alTop || Align() == alLeft;
  const int change = grows_forward ? delta : -delta;
  const int size = vertical_stack ? target->Height() : target->Width();
  // It grows only into the room beyond the filling side's minimum, and never
  // shrinks below its own (a control already smaller stays as it is).
  const int largest = std::max(size, size + RoomLeft() - min_size_);
  const int smallest = std::min(size, min_size_);
  const int wanted = std::clamp(size + change, smallest, largest);
  if (wanted == size) return 0;
  if (vertical_stack) target->SetHeight(wanted);
  else target->SetWidth(wanted);
  RunHandler([this] {
    if (OnMoved) OnMoved(this);
  });
  const int moved = wanted - size;
  return grows_forward ? moved : -moved;
}
