#include "qt/menu_binding.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "qt/qt_keys.h"
#include "ui/menu.h"

namespace dxqt {

MenuBinding::MenuBinding(TMainMenu& menu, QMenuBar* bar, QWidget* shortcutScope)
    : QObject(bar), menu_(menu), bar_(bar), scope_(shortcutScope) {
  rebuild();
}

MenuBinding::~MenuBinding() { unobserveAll(); }

QAction* MenuBinding::actionFor(const TMenuItem& item) const {
  auto it = actions_.find(const_cast<TMenuItem*>(&item));
  return it == actions_.end() ? nullptr : it->second;
}

void MenuBinding::unobserveAll() {
  for (auto& [item, id] : observers_) item->Unobserve(id);
  observers_.clear();
}

void MenuBinding::scheduleRebuild() {
  if (rebuildPending_) return;
  rebuildPending_ = true;
  // Never under the feet of an action that is still running its handler.
  QTimer::singleShot(0, this, [this] {
    rebuildPending_ = false;
    rebuild();
  });
}

void MenuBinding::observe(TMenuItem& item) {
  observers_[&item] = item.Observe([this, &item](TComponent&, TProperty property) {
    if (property == TProperty::Destroying) {
      observers_.erase(&item);
      actions_.erase(&item);
      scheduleRebuild();
      return;
    }
    QAction* action = actionFor(item);
    if (property == TProperty::Enabled && action) {
      action->setEnabled(item.Enabled());
    } else if (property == TProperty::Checked && action) {
      action->setCheckable(item.Checked() || action->isCheckable());
      action->setChecked(item.Checked());
    } else if (property == TProperty::Hint && action) {
      action->setStatusTip(QString::fromStdString(item.Hint()));
    } else {
      scheduleRebuild();
    }
  });
}

QAction* MenuBinding::makeAction(TMenuItem& item, QObject* owner) {
  auto* action = new QAction(QString::fromStdString(item.Caption()), owner);
  action->setObjectName(QString::fromStdString(item.Name()));
  action->setEnabled(item.Enabled());
  action->setVisible(item.Visible());
  action->setStatusTip(QString::fromStdString(item.Hint()));
  if (item.Checked()) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  if (item.ShortCut() != scNone) {
    action->setShortcut(toKeySequence(item.ShortCut()));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    // The shortcut must work while the menu is closed, so the scope holds the action too.
    scope_->addAction(action);
  }
  QObject::connect(action, &QAction::triggered, action, [&item] { item.UserClick(); });
  actions_[&item] = action;
  return action;
}

void MenuBinding::addItems(TMenuItem& parent, QMenu* into) {
  for (TMenuItem* item : parent.Items()) {
    observe(*item);
    if (item->IsLine()) {
      if (item->Visible()) into->addSeparator();
      continue;
    }
    if (!item->Items().empty()) {
      QMenu* sub = into->addMenu(QString::fromStdString(item->Caption()));
      sub->setObjectName(QString::fromStdString(item->Name()));
      sub->menuAction()->setEnabled(item->Enabled());
      sub->menuAction()->setVisible(item->Visible());
      actions_[item] = sub->menuAction();
      addItems(*item, sub);
    } else {
      into->addAction(makeAction(*item, into));
    }
  }
}

void MenuBinding::rebuild() {
  unobserveAll();
  actions_.clear();
  for (QAction* a : scope_->actions()) {
    if (a->parent() != scope_) scope_->removeAction(a);
  }
  // The old menus may still be running the handler that changed the tree
  // (a modal dialog opened from an item), so they are retired, not deleted.
  for (QAction* a : bar_->actions()) bar_->removeAction(a);
  for (TMenuItem* top : menu_.Items().Items()) {
    observe(*top);
    if (top->IsLine()) continue;
    if (top->Items().empty()) {
      bar_->addAction(makeAction(*top, bar_));
      continue;
    }
    QMenu* m = bar_->addMenu(QString::fromStdString(top->Caption()));
    m->setObjectName(QString::fromStdString(top->Name()));
    m->menuAction()->setEnabled(top->Enabled());
    m->menuAction()->setVisible(top->Visible());
    actions_[top] = m->menuAction();
    addItems(*top, m);
  }
}

}  // namespace dxqt
