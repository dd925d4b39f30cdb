#pragma once
// The steps distrato-docshot takes once the host's clicks are done: the
// substitute column's search button pressed, a registration typed into that
// column, then more controls clicked, each as the user does. They run on
// the GUI thread; a modal dialog they open stays open for the screenshot.

#include <functional>

#include "shot_choices.h"

class HostWindow;

// The startup step; false (the program ends) when the main screen is not open.
std::function<bool(HostWindow&)> afterClicksStep(ShotChoices choices);
