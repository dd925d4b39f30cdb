#pragma once
// A start nobody can answer a dialog in: a picture (--screenshot), or a
// platform without a display (offscreen, minimal). The login is checked
// before the window opens, so a refused one ends the program with the
// server's message instead of a message box that would wait forever.

#include <QString>
#include <functional>

#include "host_options.h"

// True under a Qt platform that shows nothing to anyone.
bool withoutDisplay();

// The server's refusal of the options' operator and password, or empty when
// it accepted them, when no operator was given (nothing logs in), or when no
// server answers at all (the screen then reports that itself). `verify`
// logs in and returns why it failed.
QString refusedLogin(const HostOptions& options, const std::function<QString(const HostOptions&)>& verify);
