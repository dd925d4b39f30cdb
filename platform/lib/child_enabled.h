#pragma once

class TWinControl;

// Enables or disables every control placed directly in the container. The
// controls inside a nested container follow it, since a disabled parent
// disables what it holds, and keep their own state for when it comes back.
void SetChildEnabled(TWinControl& container, bool enabled);
