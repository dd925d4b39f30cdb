#include "qt/form_view.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "qt/binding_factory.h"
#include "qt/control_binding.h"
#include "qt/menu_binding.h"
#include "qt/qt_keys.h"
#include "ui/application.h"
#include "ui/buttons.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/run_handler.h"

namespace dxqt {

namespace {

// Focus that comes from the user, as opposed to Qt giving it back to a window.
bool userFocusReason(Qt::FocusReason reason) {
  return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason;
}

template <class Pred>
TButton* findButton(TWinControl& container, Pred pred) {
  for (TControl* c : container.Controls()) {
    if (auto* b = dynamic_cast<TButton*>(c); b && pred(*b) && b->Showing() && b->EffectivelyEnabled()) return b;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TButton* found = findButton(*w, pred)) return found;
    }
  }
  return nullptr;
}

// Smallest area a sizeable form is given, when its design is larger: room
// for its tool bar and a few rows; below that the window is of no use.
constexpr QSize kSmallestClient(400, 300);

// The area under the menu bar: asks for the form's size and reports the
// size it is given.
class FormClientArea : public QWidget {
 public:
  FormClientArea(QWidget* parent, std::function<void(QSize)> resized)
      : QWidget(parent), resized_(std::move(resized)) {}
  // Kept here rather than read from the form, which may go before the view.
  void setPreferredSize(QSize size) {
    preferred_ = size;
    updateGeometry();
  }
  QSize sizeHint() const override { return preferred_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    resized_(event->size());
  }

 private:
  std::function<void(QSize)> resized_;
  QSize preferred_;
};

}  // namespace

FormView::FormView(TForm& form, QWidget* parent)
    : QWidget(parent),
      form_(form),
      client_(new FormClientArea(this, [this](QSize size) { clientResized(size); })) {
  setObjectName(QString::fromStdString(form.Name()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  menuBar_->setNativeMenuBar(false);
  layout->addWidget(menuBar_);
  layout->addWidget(client_, 1);
  client_->setObjectName(QStringLiteral("client"));
  client_->setAutoFillBackground(true);
  client_->setFocusPolicy(Qt::NoFocus);

  for (TControl* child : form.Controls()) bindTree(*child);
  rebuildMenu();
  applyBorderStyle();
  setWindowTitle(QString::fromStdString(form.Caption()));

  formObserver_ = form.Observe([this](TComponent&, TProperty property) { onFormChanged(property); });
  QTimer::singleShot(0, this, [this] { syncFocus(); });
}

FormView::~FormView() {
  if (formAlive_) form_.Unobserve(formObserver_);
  for (auto& [control, binding] : bindings_) binding->detach();
}

QWidget* FormView::widgetFor(const TControl& control) const {
  auto it = bindings_.find(&control);
  return it == bindings_.end() ? nullptr : it->second->widget();
}

void FormView::bindTree(TControl& control) {
  if (bindings_.count(&control)) return;
  TWinControl* parent = control.Parent();
  QWidget* parentWidget = client_;
  if (parent && parent != &form_) {
    auto it = bindings_.find(parent);
    if (it == bindings_.end()) return;
    parentWidget = it->second->childArea();
  }
  std::unique_ptr<ControlBinding> binding = makeBinding(*this, control, parentWidget);
  ControlBinding& b = *binding;
  bindings_[&control] = std::move(binding);
  b.syncAll();
  if (auto* container = dynamic_cast<TWinControl*>(&control)) {
    for (TControl* child : container->Controls()) bindTree(*child);
  }
}

void FormView::placeChildren(TWinControl& container) {
  for (TControl* child : container.Controls()) {
    if (!bindings_.count(child)) bindTree(*child);
  }
}

void FormView::reparent(TControl& control) {
  auto it = bindings_.find(&control);
  if (it == bindings_.end()) {
    if (control.ParentForm() == &form_) bindTree(control);
    return;
  }
  TWinControl* parent = control.Parent();
  if (!parent || control.ParentForm() != &form_) {
    it->second->widget()->hide();
    return;
  }
  QWidget* area = parent == &form_ ? client_ : widgetFor(*parent);
  if (parent != &form_) {
    auto p = bindings_.find(parent);
    area = p == bindings_.end() ? nullptr : p->second->childArea();
  }
  if (!area) return;
  it->second->widget()->setParent(area);
  it->second->syncAll();
}

void FormView::controlDestroyed(TControl& control) {
  auto it = bindings_.find(&control);
  if (it == bindings_.end()) return;
  std::unique_ptr<ControlBinding> binding = std::move(it->second);
  bindings_.erase(it);
  binding->detach();
  if (QWidget* w = binding->widget()) w->deleteLater();
  binding.release()->deleteLater();
}

void FormView::onFormChanged(TProperty property) {
  if (property == TProperty::Destroying) {
    formAlive_ = false;
    for (auto& [control, binding] : bindings_) binding->detach();
    return;
  }
  if (property == TProperty::Caption) {
    setWindowTitle(QString::fromStdString(form_.Caption()));
  } else if (property == TProperty::Menu) {
    rebuildMenu();
  } else if (property == TProperty::ActiveControl) {
    syncFocus();
  } else if (property == TProperty::Controls) {
    placeChildren(form_);
  } else if (property == TProperty::Bounds || property == TProperty::BorderStyle) {
    applyBorderStyle();
  }
}

void FormView::applyBorderStyle() {
  const QSize design(form_.Width(), form_.Height());
  static_cast<FormClientArea*>(client_)->setPreferredSize(design);
  if (!form_.Sizeable()) {
    client_->setFixedSize(design);
    return;
  }
  client_->setMinimumSize(design.boundedTo(kSmallestClient));
  client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void FormView::clientResized(QSize size) {
  if (!formAlive_ || !form_.Sizeable() || size.isEmpty()) return;
  if (size == QSize(form_.Width(), form_.Height())) return;
  // The toolkit lays the form out again for its new size.
  form_.SetBounds(form_.Left(), form_.Top(), size.width(), size.height());
}

void FormView::rebuildMenu() {
  delete menuBinding_;
  menuBinding_ = nullptr;
  menuBar_->clear();
  TMainMenu* menu = form_.Menu();
  menuBar_->setVisible(menu != nullptr);
  if (menu) menuBinding_ = new MenuBinding(*menu, menuBar_, this);
}

void FormView::widgetFocused(TWinControl& control, Qt::FocusReason reason) {
  if (syncingFocus_ || !formAlive_) return;
  if (userFocusReason(reason) && form_.ActiveControl() != &control) control.UserSetFocus();
  // A refused exit keeps the toolkit's focus where it was; Qt follows it.
  QTimer::singleShot(0, this, [this] { syncFocus(); });
}

void FormView::userTab(bool forward) {
  if (!formAlive_) return;
  form_.UserTab(forward);
  syncFocus();
}

void FormView::syncFocus() {
  if (!formAlive_ || syncingFocus_) return;
  TWinControl* focused = form_.ActiveControl();
  QWidget* target = focused ? widgetFor(*focused) : nullptr;
  if (!target || !target->isVisible() || target->hasFocus()) return;
  if (QWidget* inner = target->focusProxy()) target = inner;
  syncingFocus_ = true;
  target->setFocus(Qt::OtherFocusReason);
  syncingFocus_ = false;
}

void FormView::pressButton(bool defaultButton) {
  TButton* button = findButton(form_, [defaultButton](TButton& b) { return defaultButton ? b.Default() : b.Cancel(); });
  if (button) button->UserClick();
}

void FormView::keyPressEvent(QKeyEvent* event) {
  if (!formAlive_) return QWidget::keyPressEvent(event);
  const int key = event->key();
  if (key == Qt::Key_Escape) {
    pressButton(false);
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    pressButton(true);
    return;
  }
  const int vk = toVirtualKey(key);
  if (vk && form_.UserShortCut(vk, toShiftState(event->modifiers()))) return;
  QWidget::keyPressEvent(event);
}

}  // namespace dxqt
