#pragma once
// The login dialog the host shows at start when the operator or the password
// was not given: operator code and password, checked by logging in to the
// application server before the dialog closes, so a wrong password is told
// there and can be typed again. UI thread only.

#include <QString>
#include <functional>

#include "host_options.h"

class QWidget;

// Logs in with the options' server, operator and password; returns why it
// failed, or empty when the server accepted.
QString verifyLogin(const HostOptions& options);

// Asks until the server accepts (filling options.operatorCode and
// options.password) or the user cancels (false). `verify` checks each try.
bool askLogin(HostOptions& options, const std::function<QString(const HostOptions&)>& verify = verifyLogin,
              QWidget* parent = nullptr);
