#pragma once
// One toolkit control and the Qt widget that draws it. The binding keeps the
// widget equal to the control (it observes the control's property changes)
// and hands what the user does to the control's user-event entry points.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include "ui/property.h"
#include <vector>

class QKeyEvent;

class TControl;
class TWinControl;

namespace dxqt {

class FormView;

class ControlBinding : public QObject {
 public:
  ControlBinding(FormView& view, TControl& control, QWidget* widget);
  ~ControlBinding() override;

  TControl& control() const { return control_; }
  QWidget* widget() const { return widget_; }
  // Where the widgets of the control's children go.
  virtual QWidget* childArea() const { return widget_; }
  // Brings the whole widget up to date.
  void syncAll();
  // The control went away: stop listening, the widget goes with it.
  void detach();
  // False once the control went away.
  bool attached() const { return attached_; }

 protected:
  // A property of the control changed; the base handles the common ones.
  virtual void sync(TProperty property);
  // The properties of the kind beyond the common ones, synced by syncAll().
  virtual std::vector<TProperty> ownProperties() const { return {}; }
  // Toolkit text with the accelerator marks as Qt writes them.
  static QString captionText(const std::string& caption);
  FormView& view() const { return view_; }
  // The control as a windowed control, or null for graphic controls.
  TWinControl* winControl() const;
  // Focus and keys of windowed controls go to the toolkit first.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Background colour applied to the widget (edits, panels), when it has one.
  virtual void applyColor();
  // A key pressed on the widget; true when the toolkit swallowed it. The
  // default gives the key-down handler its turn and lets Qt do the rest.
  virtual bool handleKey(QKeyEvent* event);

 private:
  FormView& view_;
  TControl& control_;
  QPointer<QWidget> widget_;
  int observer_ = 0;
  bool attached_ = true;
};

}  // namespace dxqt
