#pragma once
// A form's main menu as a Qt menu bar. Enabled and checked states follow the
// items at once; a change of the tree (items, captions, shortcuts,
// visibility) rebuilds the bar once the running event is over.

#include <QObject>
#include <map>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TMainMenu;
class TMenuItem;

namespace dxqt {

class MenuBinding : public QObject {
 public:
  // `shortcutScope` is the widget within which the items' shortcuts work.
  MenuBinding(TMainMenu& menu, QMenuBar* bar, QWidget* shortcutScope);
  ~MenuBinding() override;

  // The action drawing an item, or null.
  QAction* actionFor(const TMenuItem& item) const;

 private:
  void rebuild();
  void scheduleRebuild();
  void addItems(TMenuItem& parent, QMenu* into);
  QAction* makeAction(TMenuItem& item, QObject* owner);
  void observe(TMenuItem& item);
  void unobserveAll();

  TMainMenu& menu_;
  QMenuBar* bar_;
  QWidget* scope_;
  std::map<TMenuItem*, QAction*> actions_;
  std::map<TMenuItem*, int> observers_;
  bool rebuildPending_ = false;
};

}  // namespace dxqt
