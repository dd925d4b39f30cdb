// Push buttons and the flat tool-bar buttons.
#include <QPushButton>
#include <QToolButton>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "qt/glyph_icons.h"
#include "ui/buttons.h"

namespace dxqt {

namespace {

class ButtonBinding : public ControlBinding {
 public:
  ButtonBinding(FormView& view, TButton& button, QPushButton* widget)
      : ControlBinding(view, button, widget), button_(button), widget_(widget) {
    // The toolkit's click moves the focus itself, after the exit handlers.
    widget->setFocusPolicy(Qt::TabFocus);
    widget->setAutoDefault(false);
    QObject::connect(widget, &QPushButton::clicked, widget, [this] {
      if (attached()) button_.UserClick();
    });
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::Default}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Caption) {
      widget_->setText(captionText(button_.Caption()));
    } else if (property == TProperty::Default) {
      widget_->setDefault(button_.Default());
    } else {
      ControlBinding::sync(property);
    }
  }
  // Space and Enter press the Qt button, which clicks through the toolkit once.
  bool handleKey(QKeyEvent* event) override { return ControlBinding::handleKey(event); }

 private:
  TButton& button_;
  QPushButton* widget_;
};

class SpeedButtonBinding : public ControlBinding {
 public:
  SpeedButtonBinding(FormView& view, TSpeedButton& button, QToolButton* widget)
      : ControlBinding(view, button, widget), button_(button), widget_(widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    QObject::connect(widget, &QToolButton::clicked, widget, [this] {
      if (attached()) button_.UserClick();
    });
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::Flat}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Caption || property == TProperty::Hint || property == TProperty::Glyph) {
      ControlBinding::sync(property);
      const QIcon icon = glyphIcon(button_.Glyph());
      widget_->setIcon(icon);
      // A glyph button without a picture shows its hint as its text instead,
      // or an ellipsis when the hint does not fit (the hint stays the tooltip).
      std::string text = button_.Caption().empty() && icon.isNull() ? button_.Hint() : button_.Caption();
      if (button_.Caption().empty() && icon.isNull() &&
          widget_->fontMetrics().horizontalAdvance(QString::fromStdString(text)) > button_.Width() - 6)
        text = "…";
      widget_->setText(captionText(text));
      widget_->setToolButtonStyle(text.empty() ? Qt::ToolButtonIconOnly
                                  : icon.isNull() ? Qt::ToolButtonTextOnly
                                                  : Qt::ToolButtonTextBesideIcon);
      syncRaised();
    } else if (property == TProperty::Flat) {
      syncRaised();
    } else {
      ControlBinding::sync(property);
      if (property == TProperty::Bounds) syncRaised();
    }
  }

 private:
  // Flat tool-bar buttons show their frame only under the mouse; a flat
  // button with a caption and larger than a tool-bar icon is a command of
  // the screen and keeps its raised frame, or it would read as bare text.
  void syncRaised() {
    constexpr int kToolBarButton = 32;
    const bool command = !button_.Caption().empty() && button_.Height() > kToolBarButton;
    widget_->setAutoRaise(button_.Flat() && !command);
  }

  TSpeedButton& button_;
  QToolButton* widget_;
};

}  // namespace

std::unique_ptr<ControlBinding> makeButtonBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* button = dynamic_cast<TButton*>(&control);
  if (!button) return nullptr;
  return std::make_unique<ButtonBinding>(view, *button, new QPushButton(parent));
}

std::unique_ptr<ControlBinding> makeSpeedButtonBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* button = dynamic_cast<TSpeedButton*>(&control);
  if (!button) return nullptr;
  return std::make_unique<SpeedButtonBinding>(view, *button, new QToolButton(parent));
}

}  // namespace dxqt
