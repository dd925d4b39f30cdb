// Labels and images.
#include <QApplication>
#include <QStyle>
#include <QLabel>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "qt/qt_colors.h"
#include "ui/db_text.h"
#include "ui/shortcut.h"
#include "ui/static_controls.h"

namespace dxqt {

namespace {

class LabelBinding : public ControlBinding {
 public:
  LabelBinding(FormView& view, TLabel& label, QLabel* widget) : ControlBinding(view, label, widget), label_(label), widget_(widget) {}

  std::vector<TProperty> ownProperties() const override { return {TProperty::Alignment}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Caption) {
      widget_->setText(QString::fromStdString(StripHotkey(label_.Caption())));
      autoSize();
    } else if (property == TProperty::Bounds || property == TProperty::Font) {
      ControlBinding::sync(property);
      if (property == TProperty::Font) {
        QPalette p = widget_->palette();
        p.setColor(QPalette::WindowText, toQColor(label_.Font().color));
        widget_->setPalette(p);
      }
      autoSize();
    } else if (property == TProperty::Alignment || property == TProperty::WordWrap) {
      Qt::Alignment a = toQtAlignment(label_.Alignment());
      a = (a & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
      widget_->setAlignment(a);
      widget_->setWordWrap(label_.WordWrap());
    } else {
      ControlBinding::sync(property);
    }
  }
  // Labels grow to their text, as they did with the original fonts, which
  // were narrower than ours; a label aligned into its parent keeps its width.
  void autoSize() {
    if (label_.WordWrap() || label_.Align() != alNone || label_.Alignment() != taLeftJustify) return;
    const int needed = widget_->sizeHint().width();
    if (needed > widget_->width()) widget_->resize(needed, widget_->height());
  }
  void applyColor() override {
    widget_->setAutoFillBackground(!label_.Transparent());
    QPalette p = widget_->palette();
    p.setColor(QPalette::Window, toQColor(label_.Color()));
    widget_->setPalette(p);
  }

 private:
  TLabel& label_;
  QLabel* widget_;
};

class ImageBinding : public ControlBinding {
 public:
  ImageBinding(FormView& view, TImage& image, QLabel* widget) : ControlBinding(view, image, widget), image_(image), widget_(widget) {}
  std::vector<TProperty> ownProperties() const override { return {TProperty::Picture}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Picture || property == TProperty::Stretch || property == TProperty::Center || property == TProperty::Caption) {
      // Pictures are looked up by resource name; a missing one leaves the place empty.
      QPixmap pixmap(QStringLiteral(":/images/%1").arg(QString::fromStdString(image_.Picture())));
      // The message pictures come from the platform's style.
      if (pixmap.isNull() && image_.Picture() == "informacao")
        pixmap = QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32);
      widget_->setPixmap(pixmap);
      widget_->setScaledContents(image_.Stretch());
      widget_->setAlignment(image_.Center() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    } else {
      ControlBinding::sync(property);
    }
  }

 private:
  TImage& image_;
  QLabel* widget_;
};

// A field of the current record shown as a label.
class DBTextBinding : public ControlBinding {
 public:
  DBTextBinding(FormView& view, TDBText& text, QLabel* widget) : ControlBinding(view, text, widget), text_(text), widget_(widget) {}
  std::vector<TProperty> ownProperties() const override { return {TProperty::Alignment}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Caption) {
      widget_->setText(QString::fromStdString(text_.Caption()));
    } else if (property == TProperty::Alignment) {
      widget_->setAlignment(toQtAlignment(text_.Alignment()));
    } else {
      ControlBinding::sync(property);
    }
  }

 private:
  TDBText& text_;
  QLabel* widget_;
};

}  // namespace

std::unique_ptr<ControlBinding> makeDBTextBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* text = dynamic_cast<TDBText*>(&control);
  if (!text) return nullptr;
  return std::make_unique<DBTextBinding>(view, *text, new QLabel(parent));
}

std::unique_ptr<ControlBinding> makeLabelBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* label = dynamic_cast<TLabel*>(&control);
  if (!label) return nullptr;
  auto* w = new QLabel(parent);
  auto b = std::make_unique<LabelBinding>(view, *label, w);
  return b;
}

std::unique_ptr<ControlBinding> makeImageBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* image = dynamic_cast<TImage*>(&control);
  if (!image) return nullptr;
  return std::make_unique<ImageBinding>(view, *image, new QLabel(parent));
}

}  // namespace dxqt
