#include "qt/control_binding.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "qt/form_view.h"
#include "qt/qt_colors.h"
#include "qt/qt_keys.h"
#include "ui/control.h"
#include "ui/form.h"

namespace dxqt {

ControlBinding::ControlBinding(FormView& view, TControl& control, QWidget* widget)
    : view_(view), control_(control), widget_(widget) {
  widget->setObjectName(QString::fromStdString(control.Name()));
  observer_ = control.Observe([this](TComponent&, TProperty property) {
    if (property == TProperty::Destroying) {
      view_.controlDestroyed(control_);
      return;
    }
    if (widget_) sync(property);
  });
  if (winControl()) widget->installEventFilter(this);
}

ControlBinding::~ControlBinding() { detach(); }

void ControlBinding::detach() {
  if (!attached_) return;
  attached_ = false;
  control_.Unobserve(observer_);
  // The control may be gone: nothing of the widget may reach it any more.
  if (widget_) {
    widget_->removeEventFilter(this);
    for (QObject* child : widget_->findChildren<QObject*>()) child->removeEventFilter(this);
  }
}

TWinControl* ControlBinding::winControl() const { return dynamic_cast<TWinControl*>(&control_); }

QString ControlBinding::captionText(const std::string& caption) {
  // Both toolkits mark the accelerator with "&" and write a literal one as "&&".
  return QString::fromStdString(caption);
}

void ControlBinding::syncAll() {
  if (!widget_) return;
  for (TProperty p : {TProperty::Bounds, TProperty::Caption, TProperty::Hint, TProperty::Enabled, TProperty::Font, TProperty::Color}) sync(p);
  for (TProperty p : ownProperties()) sync(p);
  sync(TProperty::Visible);
}

void ControlBinding::applyColor() {}

void ControlBinding::sync(TProperty property) {
  if (property == TProperty::Bounds || property == TProperty::Align) {
    const TRect r = control_.BoundsRect();
    widget_->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
  } else if (property == TProperty::Visible) {
    widget_->setVisible(control_.Visible());
  } else if (property == TProperty::Enabled) {
    widget_->setEnabled(control_.Enabled());
  } else if (property == TProperty::Hint || property == TProperty::ShowHint) {
    widget_->setToolTip(QString::fromStdString(control_.Hint()));
  } else if (property == TProperty::Font) {
    widget_->setFont(toQFont(control_.Font(), QApplication::font()));
  } else if (property == TProperty::Color) {
    applyColor();
  } else if (property == TProperty::Controls) {
    if (TWinControl* win = winControl()) view_.placeChildren(*win);
  } else if (property == TProperty::Parent) {
    view_.reparent(control_);
  }
}

bool ControlBinding::handleKey(QKeyEvent* event) {
  TWinControl* win = winControl();
  const int vk = toVirtualKey(event->key());
  if (!win || vk == 0) return false;
  return win->UserKeyDown(vk, toShiftState(event->modifiers())) == 0;
}

bool ControlBinding::eventFilter(QObject* watched, QEvent* event) {
  if (!attached_) return QObject::eventFilter(watched, event);
  TWinControl* win = winControl();
  if (watched != widget_ || !win) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      view_.widgetFocused(*win, reason);
      break;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        view_.userTab(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        return true;
      }
      if (handleKey(key)) return true;
      break;
    }
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace dxqt
