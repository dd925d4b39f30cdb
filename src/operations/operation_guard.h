#pragma once
// The error handler every rescission operation shares: the progress
// animation is hidden first, a server refusal ("N_PARAM_") is shown in the
// screen's words through MensErro(text, true), and anything else passes on
// unchanged.

#include <functional>
#include <string>

class TfrmDistrato;

namespace operations {

// Runs `body` under that handler. When the connection itself failed the
// outcome on the server is unknown, so the list is reloaded on the party
// `partyClient` names (when the server answers again) before the error goes
// on, and the screen never shows a state the server does not hold.
void RunGuarded(TfrmDistrato& screen, const std::function<void()>& body,
                const std::function<std::string()>& partyClient = {});

}  // namespace operations
