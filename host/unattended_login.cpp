#include "unattended_login.h"

#include <QGuiApplication>

bool withoutDisplay() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

QString refusedLogin(const HostOptions& options, const std::function<QString(const HostOptions&)>& verify) {
  if (options.operatorCode.trimmed().isEmpty()) return {};
  // Reached without logging in first: a failure after that is the login's.
  HostOptions anonymous = options;
  anonymous.operatorCode.clear();
  if (!verify(anonymous).isEmpty()) return {};
  return verify(options);
}
