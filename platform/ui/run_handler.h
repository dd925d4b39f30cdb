#pragma once
// The one place where exceptions leaving a user event end: the renderer and
// the script runner run every user event through it. The silent abort is
// swallowed; any other exception's message goes to the UI service's
// exception display. Calls made by code do not go through here, so their
// exceptions reach the caller.

#include <exception>
#include <functional>

// Returns true when the handler ran to its end.
bool RunHandler(const std::function<void()>& handler);

// Shows an exception already caught, as RunHandler would.
void ShowHandlerException(std::exception_ptr error);
