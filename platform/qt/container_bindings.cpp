// Panels, group boxes, scroll boxes, page controls and the fallback holder.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QTabBar>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "qt/qt_colors.h"
#include "ui/containers.h"

namespace dxqt {

namespace {

void fillBackground(QWidget* widget, TColor color) {
  widget->setAutoFillBackground(true);
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, toQColor(color));
  widget->setPalette(p);
}

class PanelBinding : public ControlBinding {
 public:
  PanelBinding(FormView& view, TPanel& panel, QFrame* frame)
      : ControlBinding(view, panel, frame), panel_(panel), frame_(frame), caption_(new QLabel(frame)) {
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->setFocusPolicy(Qt::NoFocus);
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::BevelOuter, TProperty::Alignment}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::BevelOuter || property == TProperty::BevelInner) {
      const TBevelCut bevel = panel_.BevelOuter() != bvNone ? panel_.BevelOuter() : panel_.BevelInner();
      frame_->setFrameShape(bevel == bvNone ? QFrame::NoFrame : QFrame::Panel);
      frame_->setFrameShadow(bevel == bvLowered ? QFrame::Sunken : QFrame::Raised);
    } else if (property == TProperty::Caption || property == TProperty::Alignment || property == TProperty::Bounds) {
      if (property == TProperty::Bounds) ControlBinding::sync(property);
      caption_->setText(QString::fromStdString(panel_.Caption()));
      caption_->setAlignment(toQtAlignment(panel_.Alignment()));
      caption_->setGeometry(frame_->rect().adjusted(2, 2, -2, -2));
      caption_->lower();
    } else {
      ControlBinding::sync(property);
    }
  }
  void applyColor() override { fillBackground(frame_, panel_.Color()); }

 private:
  TPanel& panel_;
  QFrame* frame_;
  QLabel* caption_;
};

// The old group box: an etched frame whose top border runs through the
// middle of the caption. The children keep their toolkit coordinates from
// the box's outer top-left, so nothing is reserved for a title above the
// frame (as some Qt styles do).
class FramedGroupBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QFontMetrics fm(font());
    const QString text = title();
    const int top = fm.height() / 2;
    const QRect frame = rect().adjusted(0, top, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 1, 1));
    if (text.isEmpty()) return;
    const QRect caption(8, 0, fm.horizontalAdvance(text) + 4, fm.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, text);
  }
};

class GroupBoxBinding : public ControlBinding {
 public:
  GroupBoxBinding(FormView& view, TGroupBox& box, QGroupBox* widget) : ControlBinding(view, box, widget), widget_(widget) {
    widget->setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Caption) {
      widget_->setTitle(QString::fromStdString(control().Caption()));
    } else {
      ControlBinding::sync(property);
    }
  }

 private:
  QGroupBox* widget_;
};

// The children sit on an inner widget that grows to hold them all.
class ScrollBoxBinding : public ControlBinding {
 public:
  ScrollBoxBinding(FormView& view, TScrollBox& box, QScrollArea* area)
      : ControlBinding(view, box, area), box_(box), inner_(new QWidget) {
    inner_->setObjectName(QStringLiteral("inner"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(inner_);
    area->setWidgetResizable(true);
    area->setFocusPolicy(Qt::NoFocus);
  }
  QWidget* childArea() const override { return inner_; }

 protected:
  void sync(TProperty property) override {
    ControlBinding::sync(property);
    if (property == TProperty::Bounds || property == TProperty::Controls) {
      int right = 0, bottom = 0;
      for (TControl* c : box_.Controls()) {
        if (!c->Visible() || c->Align() != alNone) continue;
        right = std::max(right, c->BoundsRect().right);
        bottom = std::max(bottom, c->BoundsRect().bottom);
      }
      inner_->setMinimumSize(right, bottom);
    }
  }
  void applyColor() override { fillBackground(inner_, box_.Color()); }

 private:
  TScrollBox& box_;
  QWidget* inner_;
};

// Tabs drawn by a tab bar over the sheets, which the toolkit places and
// shows one at a time.
class PageControlBinding : public ControlBinding {
 public:
  PageControlBinding(FormView& view, TPageControl& pages, QWidget* widget)
      : ControlBinding(view, pages, widget), pages_(pages), bar_(new QTabBar(widget)) {
    bar_->setObjectName(QStringLiteral("tabs"));
    bar_->setDrawBase(true);
    bar_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(bar_, &QTabBar::tabBarClicked, bar_, [this](int index) {
      pages_.UserSelectPage(index);
      syncTabs();
    });
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::Controls, TProperty::ActivePage}; }

 protected:
  void sync(TProperty property) override {
    ControlBinding::sync(property);
    if (property == TProperty::Controls || property == TProperty::ActivePage || property == TProperty::Bounds) syncTabs();
  }

 private:
  void syncTabs() {
    const auto sheets = pages_.Pages();
    const QSignalBlocker block(bar_);
    while (bar_->count() > static_cast<int>(sheets.size())) bar_->removeTab(bar_->count() - 1);
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      const QString text = QString::fromStdString(sheets[i]->Caption());
      if (static_cast<int>(i) >= bar_->count()) bar_->addTab(text);
      else bar_->setTabText(static_cast<int>(i), text);
      bar_->setTabVisible(static_cast<int>(i), sheets[i]->TabVisible());
    }
    bar_->setCurrentIndex(pages_.ActivePageIndex());
    bar_->setVisible(pages_.ShowsTabs());
    bar_->setGeometry(0, 0, pages_.Width(), std::max(pages_.ClientRect().top, bar_->sizeHint().height()));
    bar_->raise();
  }

  TPageControl& pages_;
  QTabBar* bar_;
};

class PlainBinding : public ControlBinding {
 public:
  using ControlBinding::ControlBinding;

 protected:
  void applyColor() override {
    if (dynamic_cast<TTabSheet*>(&control()) || dynamic_cast<TWinControl*>(&control()))
      fillBackground(widget(), control().Color());
  }
};

}  // namespace

std::unique_ptr<ControlBinding> makePanelBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* panel = dynamic_cast<TPanel*>(&control);
  if (!panel) return nullptr;
  return std::make_unique<PanelBinding>(view, *panel, new QFrame(parent));
}

std::unique_ptr<ControlBinding> makeGroupBoxBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* box = dynamic_cast<TGroupBox*>(&control);
  if (!box) return nullptr;
  return std::make_unique<GroupBoxBinding>(view, *box, new FramedGroupBox(parent));
}

std::unique_ptr<ControlBinding> makeScrollBoxBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* box = dynamic_cast<TScrollBox*>(&control);
  if (!box) return nullptr;
  return std::make_unique<ScrollBoxBinding>(view, *box, new QScrollArea(parent));
}

std::unique_ptr<ControlBinding> makePageControlBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* pages = dynamic_cast<TPageControl*>(&control);
  if (!pages) return nullptr;
  return std::make_unique<PageControlBinding>(view, *pages, new QWidget(parent));
}

std::unique_ptr<ControlBinding> makeFallbackBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* w = new QWidget(parent);
  w->setFocusPolicy(Qt::NoFocus);
  return std::make_unique<PlainBinding>(view, control, w);
}

}  // namespace dxqt
