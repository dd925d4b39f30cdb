#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/menu.h"
#include "ui/run_handler.h"
#include "ui/ui_service.h"

TForm::TForm() {
  TWinControl::SetVisible(false);
  SetBounds(0, 0, 640, 480);
  Application().RegisterForm(this);
}

TForm::~TForm() {
  Application().UnregisterForm(this);
  // The controls go while the focus manager they report to still exists
  // (a form destroyed without its teardown still has them here).
  DestroyComponentsQuietly();
}

void TForm::BeforeDestruction() {
  DoDestroy();
  Application().UnregisterForm(this);
}

void TForm::SetFormStyle(TFormStyle style) {
  if (style == form_style_) return;
  form_style_ = style;
  Changed("FormStyle");
}

void TForm::SetPosition(TPosition position) {
  if (position == position_) return;
  position_ = position;
  Changed("Position");
}

void TForm::SetWindowState(TWindowState state) {
  if (state == window_state_) return;
  window_state_ = state;
  Changed("WindowState");
}

void TForm::SetModalResult(TModalResult result) {
  if (result == modal_result_) return;
  modal_result_ = result;
  Changed("ModalResult");
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  menu_ = menu;
  Changed("Menu");
}

void TForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(this);
}

void TForm::DoDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnDestroy) OnDestroy(this);
}

void TForm::SetVisible(bool visible) {
  if (visible == Visible()) {
    if (visible) RunHandler([this] { Activate(); });
    return;
  }
  TWinControl::SetVisible(visible);
  if (visible) {
    if (OnShow) OnShow(this);
    // Activation and the first focus come from the window system, so their
    // failures go to the exception display rather than to Show's caller.
    RunHandler([this] { Activate(); });
    RunHandler([this] { FocusFirst(); });
  } else {
    if (OnHide) OnHide(this);
    if (Application().ActiveForm() == this) Application().SetActiveForm(nullptr);
  }
}

void TForm::FocusFirst() {
  if (focus_.Focused()) return;
  std::vector<TWinControl*> stops = focus_.TabStops();
  if (!stops.empty()) focus_.SetFocus(stops.front());
}

void TForm::Activate() {
  TForm* previous = Application().ActiveForm();
  if (previous == this) return;
  Application().SetActiveForm(this);
  if (previous && previous->OnDeactivate) previous->OnDeactivate(previous);
  if (OnActivate) OnActivate(this);
}

TModalResult TForm::ShowModal() {
  if (modal_ || Visible()) throw Exception("Não é possível tornar modal uma janela visível.");
  TForm* previous = Application().ActiveForm();
  modal_ = true;
  SetModalResult(mrNone);
  struct EndModal {
    TForm& form;
    TForm* previous;
    ~EndModal() {
      form.modal_ = false;
      form.TWinControl::SetVisible(false);
      if (form.OnHide) RunHandler([this] { form.OnHide(&form); });
      // The form that was active before gets its place back without a
      // new activation, unless it was destroyed during the modal run.
      const std::vector<TForm*>& forms = Application().Forms();
      const bool exists = std::find(forms.begin(), forms.end(), previous) != forms.end();
      Application().SetActiveForm(exists ? previous : nullptr);
    }
  } end{*this, previous};
  SetVisible(true);
  return Ui().ShowModal(*this);
}

bool TForm::CloseModal() {
  try {
    bool can_close = true;
    if (OnCloseQuery) OnCloseQuery(this, can_close);
    TCloseAction action = caNone;
    if (can_close) {
      action = caHide;
      if (OnClose) OnClose(this, action);
    }
    if (action == caNone) {
      SetModalResult(mrNone);
      return false;
    }
    if (action == caFree) Application().ReleaseForm(this);
    return true;
  } catch (...) {
    SetModalResult(mrNone);
    ShowHandlerException(std::current_exception());
    return false;
  }
}

void TForm::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
    return;
  }
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  if (!can_close) return;
  TCloseAction action = form_style_ == fsMDIChild ? caMinimize : caHide;
  if (OnClose) OnClose(this, action);
  switch (action) {
    case caNone: return;
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
  }
  if (Application().MainForm() == this) Application().Terminate();
}

void TForm::Release() {
  Hide();
  Application().ReleaseForm(this);
}

void TForm::UserClose() {
  RunHandler([this] { Close(); });
}

void TForm::UserActivate() {
  if (!Visible()) return;
  RunHandler([this] { Activate(); });
}

bool TForm::UserShortCut(int key, TShiftState shift) {
  return menu_ && EffectivelyEnabled() && menu_->UserShortCut(ShortCut(key, shift));
}

void TForm::UserTab(bool forward) {
  RunHandler([&] { focus_.SelectNext(forward); });
}
