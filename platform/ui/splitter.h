#pragma once
// A splitter sits between aligned siblings; dragging it resizes the sibling
// it follows in the alignment order (the one placed before it with the same
// alignment), and the parent lays the rest out again.

#include "ui/control.h"

class TSplitter : public TControl {
 public:
  TSplitter();

  int MinSize() const { return min_size_; }
  void SetMinSize(int v) { min_size_ = v; }
  // The sibling this splitter resizes, or null.
  TControl* ResizedControl() const;

  TNotifyEvent OnMoved;
  // The user dragged the splitter by `delta` pixels (down or right positive).
  void UserDrag(int delta);

 private:
  int min_size_ = 30;
};
