// The host's login dialog: it closes only when the server accepts what was
// typed, shows the server's reason otherwise, and a cancel ends it with
// nothing filled in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "login_dialog.h"

namespace {

// Runs the first of `remaining` on the dialog shown, then schedules the rest.
// Each scheduled call holds the steps; none holds itself, so nothing
// outlives the last step.
void RunNext(std::shared_ptr<std::vector<std::function<void(QDialog&)>>> remaining) {
  QTimer::singleShot(0, [remaining] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || remaining->empty()) return;
    auto step = remaining->front();
    remaining->erase(remaining->begin());
    step(*dialog);
    RunNext(remaining);
  });
}

// Runs `steps` one after another on the dialog while it is shown.
void Drive(std::vector<std::function<void(QDialog&)>> steps) {
  RunNext(std::make_shared<std::vector<std::function<void(QDialog&)>>>(std::move(steps)));
}

std::function<void(QDialog&)> Type(const char* operatorCode, const char* password) {
  return [=](QDialog& d) {
    d.findChild<QLineEdit*>("edtOperador")->setText(operatorCode);
    d.findChild<QLineEdit*>("edtSenha")->setText(password);
  };
}

std::function<void(QDialog&)> Press(QDialogButtonBox::StandardButton which) {
  return [=](QDialog& d) { d.findChild<QDialogButtonBox*>()->button(which)->click(); };
}

TEST(LoginDialog, StaysOpenUntilTheServerAcceptsAndFillsTheLogin) {
  HostOptions options;
  options.operatorCode = "SUPERVISOR";
  std::vector<std::pair<QString, QString>> tries;
  QString shown;
  const auto verify = [&](const HostOptions& o) {
    tries.emplace_back(o.operatorCode, o.password);
    return o.password == "DISTRATO" ? QString() : QStringLiteral("Operador ou senha inválidos.");
  };
  Drive({Type("SUPERVISOR", "errada"), Press(QDialogButtonBox::Ok),
         [&](QDialog& d) { shown = d.findChild<QLabel*>("lblErro")->text(); },
         Type("  gerente ", ""), Press(QDialogButtonBox::Ok),  // an empty password is the server's to refuse
         Type("supervisor", "DISTRATO"), Press(QDialogButtonBox::Ok)});
  ASSERT_TRUE(askLogin(options, verify));
  EXPECT_EQ(shown, "Operador ou senha inválidos.");
  ASSERT_EQ(tries.size(), 3u);
  EXPECT_EQ(tries[1].first, "GERENTE");  // trimmed and upper-cased as the server stores codes
  EXPECT_EQ(options.operatorCode, "SUPERVISOR");
  EXPECT_EQ(options.password, "DISTRATO");
}

TEST(LoginDialog, AnEmptyOperatorIsRefusedWithoutAskingTheServer) {
  HostOptions options;
  int asked = 0;
  QString shown;
  Drive({Type("", "x"), Press(QDialogButtonBox::Ok),
         [&](QDialog& d) { shown = d.findChild<QLabel*>("lblErro")->text(); }, Press(QDialogButtonBox::Cancel)});
  EXPECT_FALSE(askLogin(options, [&](const HostOptions&) {
    ++asked;
    return QString();
  }));
  EXPECT_EQ(shown, "Operador deve ser informado.");
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(options.operatorCode.isEmpty());
  EXPECT_TRUE(options.password.isEmpty());
}

}  // namespace
