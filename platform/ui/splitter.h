#pragma once
// A splitter sits between aligned siblings; dragging it resizes the sibling
// it follows in the alignment order (the one placed before it with the same
// alignment), and the parent lays the rest out again. Neither side of the
// drag goes below MinSize: the resized sibling, nor the room left over for
// the siblings that take the rest.

#include "ui/control.h"

class TSplitter : public TControl {
 public:
  TSplitter();

  int MinSize() const { return min_size_; }
  void SetMinSize(int v) { min_size_ = v; }
  // The sibling this splitter resizes, or null.
  TControl* ResizedControl() const;

  TNotifyEvent OnMoved;
  // The user dragged the splitter by `delta` pixels (down or right
  // positive); returns how far it really moved, within the minimum sizes.
  int UserDrag(int delta);

 private:
  // Along the drag's axis: the parent's room not taken by the splitter's
  // aligned siblings, which is what a filling sibling gets.
  int RoomLeft() const;

  int min_size_ = 30;
};
