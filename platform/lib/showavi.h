#pragma once
// Unit Showavi: the progress animation shown over the main form around long
// server calls.
//
// There is one animation, not a stack: ActiveShowAvi shows it (or changes
// its text when it is already up) and DeactiveShowAvi hides it. A hide with
// nothing shown does nothing, so error handlers may hide it whether or not
// the call they guard got to show it, and no count can leave it stuck on
// the screen.

#include <string>

class TForm;

void ActiveShowAvi(TForm* mainForm, int kind, const std::string& text = "");
void DeactiveShowAvi();
bool ShowAviActive();
