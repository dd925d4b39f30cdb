// Check boxes and radio buttons: the toolkit owns the checked state (and the
// exclusivity of radio buttons); the Qt widgets only show it.
#include <QCheckBox>
#include <QRadioButton>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "ui/check_controls.h"

namespace dxqt {

namespace {

template <class Control, class Widget>
class CheckBinding : public ControlBinding {
 public:
  CheckBinding(FormView& view, Control& control, Widget* widget)
      : ControlBinding(view, control, widget), control_(control), widget_(widget) {
    widget->setFocusPolicy(Qt::TabFocus);
    if constexpr (std::is_same_v<Widget, QRadioButton>) widget->setAutoExclusive(false);
    QObject::connect(widget, &QAbstractButton::clicked, widget, [this] {
      if (!attached()) return;
      control_.UserClick();
      syncChecked();
    });
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::Checked}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Caption) {
      widget_->setText(captionText(control_.Caption()));
    } else if (property == TProperty::Checked) {
      syncChecked();
    } else {
      ControlBinding::sync(property);
    }
  }

 private:
  void syncChecked() {
    const QSignalBlocker block(widget_);
    widget_->setChecked(control_.Checked());
  }

  Control& control_;
  Widget* widget_;
};

}  // namespace

std::unique_ptr<ControlBinding> makeCheckBoxBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* box = dynamic_cast<TCheckBox*>(&control);
  if (!box) return nullptr;
  return std::make_unique<CheckBinding<TCheckBox, QCheckBox>>(view, *box, new QCheckBox(parent));
}

std::unique_ptr<ControlBinding> makeRadioButtonBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* radio = dynamic_cast<TRadioButton*>(&control);
  if (!radio) return nullptr;
  return std::make_unique<CheckBinding<TRadioButton, QRadioButton>>(view, *radio, new QRadioButton(parent));
}

}  // namespace dxqt
