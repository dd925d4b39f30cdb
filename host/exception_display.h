#pragma once
// The host's last line of defence: an exception that leaves an event handler
// is shown to the user with its message, and the program goes on. The silent
// abort is not shown: its message was already given.

#include <exception>
#include <functional>

void showUnhandledException(std::exception_ptr error);

// Runs `action`, showing whatever escapes it.
void runGuarded(const std::function<void()>& action);
