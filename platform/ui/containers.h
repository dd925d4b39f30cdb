#pragma once
// Containers: panel, group box, scroll box, and the page control with its
// tab sheets. They hold controls and pass the focus through; their enter and
// exit handlers run when the focus crosses their border.

#include <vector>

#include "ui/control.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut b);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut b);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

 private:
  TBevelCut bevel_outer_ = bvRaised;
  TBevelCut bevel_inner_ = bvNone;
  TAlignment alignment_ = taCenter;
};

class TGroupBox : public TWinControl {
 public:
  // Inside the frame and below the caption.
  TRect ClientRect() const override;
};

class TScrollBox : public TWinControl {};

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  TPageControl* PageControl() const;
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool v);
  int PageIndex() const;

 private:
  bool tab_visible_ = true;
};

class TPageControl : public TWinControl {
 public:
  std::vector<TTabSheet*> Pages() const;
  int PageCount() const { return static_cast<int>(Pages().size()); }
  TTabSheet* ActivePage() const;
  // Shows that sheet and hides the others.
  void SetActivePage(TTabSheet* sheet);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

  std::function<void(TComponent* sender, bool& allowChange)> OnChanging;
  TNotifyEvent OnChange;
  // The user picks a tab: OnChanging may refuse, OnChange follows.
  void UserSelectPage(int index);

  // Tabs without a caption choose nothing: a page control with no captioned
  // tab to show has no tab row, and its sheets take the whole client area.
  bool ShowsTabs() const;

  TRect ClientRect() const override;
  void Realign() override;

 private:
  TTabSheet* active_ = nullptr;
};
