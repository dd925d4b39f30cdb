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
  observer_ = control.Observe([this](TComponent&, std::string_view property) {
    if (property == "Destroying") {
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
  for (std::string_view p : {"Bounds", "Caption", "Hint", "Enabled", "Font", "Color"}) sync(p);
  for (std::string_view p : ownProperties()) sync(p);
  sync("Visible");
}

void ControlBinding::applyColor() {}

void ControlBinding::sync(std::string_view property) {
  if (property == "Bounds" || property == "Align") {
    const TRect r = control_.BoundsRect();
    widget_->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
  } else if (property == "Visible") {
    widget_->setVisible(control_.Visible());
  } else if (property == "Enabled") {
    widget_->setEnabled(control_.Enabled());
  } else if (property == "Hint" || property == "ShowHint") {
    widget_->setToolTip(QString::fromStdString(control_.Hint()));
  } else if (property == "Font") {
    widget_->setFont(toQFont(control_.Font(), QApplication::font()));
  } else if (property == "Color") {
    applyColor();
  } else if (property == "Controls") {
    if (TWinControl* win = winControl()) view_.placeChildren(*win);
  } else if (property == "Parent") {
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
