#include "qt/busy_indicator.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace dxqt {

namespace {
constexpr int kStepMs = 40;
constexpr int kStepDegrees = 12;
constexpr int kBoxWidth = 320;
constexpr int kBoxHeight = 96;
}  // namespace

BusyIndicator::BusyIndicator(QWidget* over) : QWidget(over), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("BusyIndicator"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  timer_->setInterval(kStepMs);
  connect(timer_, &QTimer::timeout, this, &BusyIndicator::step);
  over->installEventFilter(this);
  hide();
}

void BusyIndicator::start(const QString& text) {
  text_ = text;
  running_ = true;
  fitOverParent();
  raise();
  show();
  timer_->start();
  repaint();
}

void BusyIndicator::stop() {
  running_ = false;
  timer_->stop();
  hide();
}

void BusyIndicator::step() {
  angle_ = (angle_ + kStepDegrees) % 360;
  update();
}

void BusyIndicator::fitOverParent() {
  if (parentWidget()) setGeometry(parentWidget()->rect());
}

bool BusyIndicator::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) fitOverParent();
  return QWidget::eventFilter(watched, event);
}

void BusyIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRect box(width() / 2 - kBoxWidth / 2, height() / 2 - kBoxHeight / 2, kBoxWidth, kBoxHeight);
  p.setPen(QPen(palette().color(QPalette::Mid), 1));
  p.setBrush(palette().color(QPalette::Window));
  p.drawRoundedRect(box, 6, 6);

  const QRect arc(box.left() + 20, box.center().y() - 18, 36, 36);
  p.setPen(QPen(palette().color(QPalette::Midlight), 5));
  p.drawEllipse(arc);
  p.setPen(QPen(palette().color(QPalette::Highlight), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(arc, -angle_ * 16, 100 * 16);

  p.setPen(palette().color(QPalette::WindowText));
  const QString shown = text_.isEmpty() ? QStringLiteral("Aguarde...") : text_;
  p.drawText(box.adjusted(72, 8, -12, -8), Qt::AlignVCenter | Qt::TextWordWrap, shown);
}

}  // namespace dxqt
