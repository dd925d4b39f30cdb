// Edits: the toolkit edit owns the text. Typing at the end of a plain edit
// and every key of a masked edit go through the toolkit's key-press path;
// edits elsewhere in the text (typing in the middle, deleting, pasting) are
// made by Qt on the shown text and handed over whole.
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QToolButton>

#include "qt/bindings.h"
#include "qt/control_binding.h"
#include "qt/qt_colors.h"
#include "qt/qt_keys.h"
#include "qt/toolkit_line_edit.h"
#include "ui/edit.h"
#include "ui/mask_edit.h"
#include "ui/run_handler.h"
#include "ui/spin_edit.h"
#include "ui/utf8.h"

namespace dxqt {

namespace {

bool printable(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  const QString t = event->text();
  return !t.isEmpty() && t.at(0).isPrint();
}

void setPaletteColors(QWidget* w, TColor background, TColor text) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, toQColor(background));
  p.setColor(QPalette::Text, toQColor(text));
  w->setPalette(p);
}

class EditBinding : public ControlBinding {
 public:
  EditBinding(FormView& view, TCustomEdit& edit, ToolkitLineEdit* line, QWidget* outer = nullptr)
      : ControlBinding(view, edit, outer ? outer : line), edit_(edit), line_(line) {
    line->onKey = [this](QKeyEvent* e) { return attached() && onKey(e); };
    if (outer) {
      outer->setFocusProxy(line);
      line->installEventFilter(this);
    }
  }
  std::vector<TProperty> ownProperties() const override {
    return {TProperty::Text,         TProperty::ReadOnly,  TProperty::MaxLength,
            TProperty::PasswordChar, TProperty::Alignment, TProperty::Selection};
  }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Text || property == TProperty::EditMask) {
      showText();
    } else if (property == TProperty::Selection) {
      showSelection();
    } else if (property == TProperty::ReadOnly) {
      line_->setReadOnly(edit_.ReadOnly());
    } else if (property == TProperty::MaxLength) {
      line_->setMaxLength(edit_.MaxLength() > 0 ? edit_.MaxLength() : 32767);
    } else if (property == TProperty::PasswordChar) {
      line_->setEchoMode(edit_.PasswordChar() ? QLineEdit::Password : QLineEdit::Normal);
    } else if (property == TProperty::Alignment) {
      line_->setAlignment(toQtAlignment(edit_.Alignment()));
    } else if (property == TProperty::Font || property == TProperty::Color) {
      ControlBinding::sync(property);
      setPaletteColors(line_, edit_.Color(), edit_.Font().color);
    } else {
      ControlBinding::sync(property);
    }
  }

  // The focus proxy's events count as the edit's own.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == line_ && widget() != line_) return ControlBinding::eventFilter(widget(), event);
    return ControlBinding::eventFilter(watched, event);
  }
  bool handleKey(QKeyEvent*) override { return false; }  // the line edit's own hook takes keys

  TCustomEdit& edit() const { return edit_; }
  ToolkitLineEdit* line() const { return line_; }

 private:
  auto* masked() const {
    auto* m = dynamic_cast<TMaskEdit*>(&edit_);
    return m && m->IsMasked() ? m : nullptr;
  }

  QString shownText() const {
    if (auto* m = masked()) return QString::fromStdString(m->EditText());
    return QString::fromStdString(edit_.Text());
  }

  void showText() {
    const QString text = shownText();
    if (line_->text() == text) return;
    const int cursor = line_->cursorPosition();
    const QSignalBlocker block(line_);
    line_->setText(text);
    if (auto* m = masked()) line_->setCursorPosition(static_cast<int>(m->Caret()));
    else line_->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
  }

  // The toolkit counts characters; Qt counts UTF-16 units.
  void showSelection() {
    if (masked()) return;  // a masked edit's caret is the mask's
    const std::u32string text = ui::Utf8Decode(edit_.Text());
    auto units = [&text](int characters) {
      const std::u32string head = text.substr(0, static_cast<std::size_t>(characters));
      return static_cast<int>(QString::fromUcs4(head.data(), static_cast<qsizetype>(head.size())).size());
    };
    const int start = units(edit_.SelStart());
    const int end = units(edit_.SelStart() + edit_.SelLength());
    if (end > start) line_->setSelection(start, end - start);
    else line_->setCursorPosition(start);
  }

  bool onKey(QKeyEvent* e) {
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) return false;  // the form's
    const int vk = toVirtualKey(e->key());
    if (vk != 0 && vk != VK_BACK && !printable(e)) {
      if (edit_.UserKeyDown(vk, toShiftState(e->modifiers())) == 0) return true;
      if (vk == VK_RETURN || vk == VK_ESCAPE) {
        if (masked() && vk == VK_ESCAPE) showText();
        return false;  // on to the form: default and cancel buttons
      }
    }
    if (auto* m = masked()) {
      if (printable(e) || e->key() == Qt::Key_Backspace) {
        const char32_t ch = e->key() == Qt::Key_Backspace ? char32_t(VK_BACK) : e->text().toUcs4().value(0);
        m->UserKeyPress(ch);
        showText();
        line_->setCursorPosition(static_cast<int>(m->Caret()));
        return true;
      }
      if (e->key() == Qt::Key_Delete || e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
        return true;  // the mask decides what a position holds; whole-text edits go by typing
      }
      showText();
      return false;  // caret moves are Qt's
    }
    return plainKey(e);
  }

  bool plainKey(QKeyEvent* e) {
    const bool atEnd = !line_->hasSelectedText() && line_->cursorPosition() == line_->text().size();
    if (printable(e) && atEnd) {
      edit_.UserKeyPress(e->text().toUcs4().value(0));
      showText();
      line_->end(false);
      return true;
    }
    if (e->key() == Qt::Key_Backspace && atEnd) {
      edit_.UserKeyPress(char32_t(VK_BACK));
      showText();
      line_->end(false);
      return true;
    }
    if (printable(e)) {
      // Typed in the middle: the key-press handler may change or drop the character.
      char32_t ch = e->text().toUcs4().value(0);
      RunHandler([&] {
        if (edit_.OnKeyPress) edit_.OnKeyPress(&edit_, ch);
      });
      if (ch == 0 || !edit_.EffectivelyEnabled()) return true;
      const std::u32string one(1, ch);
      line_->insert(QString::fromUcs4(one.data(), 1));
      handOver();
      return true;
    }
    const QString before = line_->text();
    line_->applyQtKey(e);
    if (line_->text() != before) handOver();
    return true;
  }

  // Qt changed the shown text: the toolkit takes it as the user's whole text.
  void handOver() {
    const int cursor = line_->cursorPosition();
    edit_.UserSetText(line_->text().toStdString());
    showText();
    line_->setCursorPosition(std::min(cursor, static_cast<int>(line_->text().size())));
  }

  TCustomEdit& edit_;
  ToolkitLineEdit* line_;
};

class SpinEditBinding : public EditBinding {
 public:
  SpinEditBinding(FormView& view, TSpinEdit& spin, ToolkitLineEdit* line, QWidget* outer)
      : EditBinding(view, spin, line, outer) {
    auto* layout = new QHBoxLayout(outer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(line, 1);
    auto* arrows = new QWidget(outer);
    auto* column = new QVBoxLayout(arrows);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (bool up : {true, false}) {
      auto* b = new QToolButton(arrows);
      b->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
      b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
      b->setFocusPolicy(Qt::NoFocus);
      b->setFixedWidth(16);
      b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
      QObject::connect(b, &QToolButton::clicked, b, [this, &spin, up] {
        if (attached()) up ? spin.UserIncrement() : spin.UserDecrement();
      });
      column->addWidget(b);
    }
    layout->addWidget(arrows);
  }
};

class MemoBinding : public ControlBinding {
 public:
  MemoBinding(FormView& view, TMemo& memo, QPlainTextEdit* widget)
      : ControlBinding(view, memo, widget), memo_(memo), widget_(widget) {
    QObject::connect(widget, &QPlainTextEdit::textChanged, widget, [this] {
      if (!syncing_ && attached()) memo_.UserSetText(widget_->toPlainText().toStdString());
    });
  }
  std::vector<TProperty> ownProperties() const override { return {TProperty::Text, TProperty::ReadOnly}; }

 protected:
  void sync(TProperty property) override {
    if (property == TProperty::Text) {
      const QString text = QString::fromStdString(memo_.Text());
      if (widget_->toPlainText() == text) return;
      syncing_ = true;
      widget_->setPlainText(text);
      syncing_ = false;
    } else if (property == TProperty::ReadOnly) {
      widget_->setReadOnly(memo_.ReadOnly());
    } else if (property == TProperty::Color || property == TProperty::Font) {
      ControlBinding::sync(property);
      setPaletteColors(widget_, memo_.Color(), memo_.Font().color);
    } else {
      ControlBinding::sync(property);
    }
  }
  bool handleKey(QKeyEvent* event) override {
    return ControlBinding::handleKey(event);
  }

 private:
  TMemo& memo_;
  QPlainTextEdit* widget_;
  bool syncing_ = false;
};

}  // namespace

std::unique_ptr<ControlBinding> makeEditBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* edit = dynamic_cast<TCustomEdit*>(&control);
  if (!edit) return nullptr;
  auto* line = new ToolkitLineEdit(parent);
  line->setFrame(true);
  return std::make_unique<EditBinding>(view, *edit, line);
}

std::unique_ptr<ControlBinding> makeSpinEditBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* spin = dynamic_cast<TSpinEdit*>(&control);
  if (!spin) return nullptr;
  auto* outer = new QWidget(parent);
  auto* line = new ToolkitLineEdit(outer);
  line->setObjectName(QStringLiteral("text"));
  return std::make_unique<SpinEditBinding>(view, *spin, line, outer);
}

std::unique_ptr<ControlBinding> makeMemoBinding(FormView& view, TControl& control, QWidget* parent) {
  auto* memo = dynamic_cast<TMemo*>(&control);
  if (!memo) return nullptr;
  return std::make_unique<MemoBinding>(view, *memo, new QPlainTextEdit(parent));
}

}  // namespace dxqt
