#include "login_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "net/net_connection.h"

QString verifyLogin(const HostOptions& options) {
  TNetConnection connection;
  connection.SetHost(options.serverHost.toStdString());
  connection.SetPort(options.serverPort);
  connection.SetServers(options.servers);
  connection.SetLogin(options.operatorCode.trimmed().toUpper().toStdString(), options.password.toStdString());
  connection.SetTls(options.tls);
  connection.SetCaFile(options.caFile.toStdString());
  try {
    connection.Open();
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  }
  return {};
}

bool askLogin(HostOptions& options, const std::function<QString(const HostOptions&)>& verify, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("frmLogin"));
  dialog.setWindowTitle(QStringLiteral("Login — Distrato"));
  auto* operatorEdit = new QLineEdit(options.operatorCode, &dialog);
  operatorEdit->setObjectName(QStringLiteral("edtOperador"));
  operatorEdit->setMaxLength(12);
  auto* passwordEdit = new QLineEdit(&dialog);
  passwordEdit->setObjectName(QStringLiteral("edtSenha"));
  passwordEdit->setEchoMode(QLineEdit::Password);
  passwordEdit->setMaxLength(64);
  auto* problem = new QLabel(&dialog);
  problem->setObjectName(QStringLiteral("lblErro"));
  problem->setWordWrap(true);
  problem->setStyleSheet(QStringLiteral("color: #a00000"));
  problem->hide();

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Operador"), operatorEdit);
  form->addRow(QStringLiteral("Senha"), passwordEdit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Entrar"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(problem);
  layout->addWidget(buttons);
  (options.operatorCode.isEmpty() ? operatorEdit : passwordEdit)->setFocus();

  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    HostOptions attempt = options;
    attempt.operatorCode = operatorEdit->text().trimmed().toUpper();
    attempt.password = passwordEdit->text();
    QString failure;
    if (attempt.operatorCode.isEmpty()) {
      failure = QStringLiteral("Operador deve ser informado.");
    } else {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      failure = verify(attempt);
      QApplication::restoreOverrideCursor();
    }
    if (failure.isEmpty()) {
      options = attempt;
      dialog.accept();
      return;
    }
    problem->setText(failure);
    problem->show();
    passwordEdit->selectAll();
    passwordEdit->setFocus();
  });
  return dialog.exec() == QDialog::Accepted;
}
