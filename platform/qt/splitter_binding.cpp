// The splitter: a thin bar that hands the user's drag to the toolkit, which
// resizes its neighbour within the minimum sizes and lays the parent out
// again.
#include <QMouseEvent>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "ui/splitter.h"

namespace dxqt {

namespace {

class SplitterBar : public QWidget {
 public:
  SplitterBar(TSplitter& splitter, QWidget* parent) : QWidget(parent), splitter_(splitter) {}

 protected:
  bool vertical() const { return splitter_.Align() == alLeft || splitter_.Align() == alRight; }
  void mousePressEvent(QMouseEvent* e) override { last_ = e->globalPosition().toPoint(); }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!(e->buttons() & Qt::LeftButton)) return;
    const QPoint now = e->globalPosition().toPoint();
    const int delta = vertical() ? now.x() - last_.x() : now.y() - last_.y();
    if (delta == 0) return;
    // Only the distance the splitter really moved counts: past a minimum
    // size the bar stays put until the mouse comes back to it.
    const int moved = splitter_.UserDrag(delta);
    if (vertical()) last_.rx() += moved;
    else last_.ry() += moved;
  }

 private:
  TSplitter& splitter_;
  QPoint last_;
};

class SplitterBinding : public ControlBinding {
 public:
  SplitterBinding(FormView& view, TSplitter& splitter, QWidget* widget)
      : ControlBinding(view, splitter, widget), splitter_(splitter) {}

 protected:
  void sync(TProperty property) override {
    ControlBinding::sync(property);
    if (property == TProperty::Bounds || property == TProperty::Align) {
      const bool vertical = splitter_.Align() == alLeft || splitter_.Align() == alRight;
      widget()->setCursor(vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
    }
  }

 private:
  TSplitter& splitter_;
};

}  // namespace

std::unique_ptr<ControlBinding> makeSplitterBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* splitter = dynamic_cast<TSplitter*>(&control);
  if (!splitter) return nullptr;
  return std::make_unique<SplitterBinding>(view, *splitter, new SplitterBar(*splitter, parent));
}

}  // namespace dxqt
