#pragma once
// The Qt face of one toolkit form: a widget holding the form's menu bar and
// a widget per control, placed at the bounds the toolkit computed. It keeps
// Qt's focus equal to the form's and sends Tab, Enter, Escape and shortcuts
// to the toolkit. A sizeable form asks for its design size and is told every
// size the window gives it, so its alignments fill the window; a form with a
// fixed border keeps its design size.

#include <QWidget>
#include <map>

#include "ui/property.h"
#include <memory>

class TControl;
class TForm;
class TWinControl;
class QMenuBar;

namespace dxqt {

class ControlBinding;
class MenuBinding;

class FormView : public QWidget {
  Q_OBJECT
 public:
  explicit FormView(TForm& form, QWidget* parent = nullptr);
  ~FormView() override;

  TForm& form() const { return form_; }
  // The widget drawing a control of this form, or null.
  QWidget* widgetFor(const TControl& control) const;
  QMenuBar* menuBar() const { return menuBar_; }
  // The area below the menu bar, as large as the form.
  QWidget* clientArea() const { return client_; }
  // The form was destroyed: the view stops touching it.
  bool formAlive() const { return formAlive_; }

  // --- from the bindings ---
  void controlDestroyed(TControl& control);
  void widgetFocused(TWinControl& control, Qt::FocusReason reason);
  void userTab(bool forward);
  // Makes Qt's focus follow the toolkit's focused control.
  void syncFocus();
  // A container's children or a control's parent changed.
  void placeChildren(TWinControl& container);
  void reparent(TControl& control);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void bindTree(TControl& control);
  void onFormChanged(TProperty property);
  void rebuildMenu();
  // Fixed or free size, as the form's border says.
  void applyBorderStyle();
  // The window gave the form's area a new size.
  void clientResized(QSize size);
  void pressButton(bool defaultButton);

  TForm& form_;
  QWidget* client_;
  QMenuBar* menuBar_ = nullptr;
  MenuBinding* menuBinding_ = nullptr;
  std::map<const TControl*, std::unique_ptr<ControlBinding>> bindings_;
  int formObserver_ = 0;
  bool formAlive_ = true;
  bool syncingFocus_ = false;
};

}  // namespace dxqt
