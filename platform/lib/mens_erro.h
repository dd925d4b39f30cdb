#pragma once
// MensErro: the one way a screen refuses what the user did. The text is shown
// as an error; with `abort` true the running operation then ends through the
// silent abort (EAbort), which handlers let pass and nobody displays.

#include <string>

void MensErro(const std::string& text, bool abort);
