#pragma once
// The progress animation: a spinning arc with an optional text, laid over
// the main window while a long remote call runs. It keeps turning while the
// call blocks, as long as the wait hook lets the event loop breathe.

#include <QString>
#include <QWidget>

class QTimer;

namespace dxqt {

class BusyIndicator : public QWidget {
  Q_OBJECT
 public:
  explicit BusyIndicator(QWidget* over);

  void start(const QString& text);
  void stop();
  bool isRunning() const { return running_; }
  QString text() const { return text_; }
  int angle() const { return angle_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void step();
  void fitOverParent();

  QTimer* timer_;
  QString text_;
  int angle_ = 0;
  bool running_ = false;
};

}  // namespace dxqt
