#pragma once
// A QLineEdit whose key presses go to a handler first, so the toolkit edit
// decides what typing does; the handler returns true when it took the key.

#include <QLineEdit>
#include <functional>

namespace dxqt {

class ToolkitLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;

  std::function<bool(QKeyEvent*)> onKey;
  // Lets Qt apply a key the handler passed on.
  void applyQtKey(QKeyEvent* event) { QLineEdit::keyPressEvent(event); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (onKey && onKey(event)) return;
    QLineEdit::keyPressEvent(event);
  }
};

}  // namespace dxqt
