#pragma once
// Unit Cli_DXR10900: the module's one main screen and the values the
// rescission operations share with it. Exported with C linkage, as the host
// and the other units reach them by name.

#include <cstdint>
#include <string>

class TfrmDistrato;

extern "C" {
extern TfrmDistrato* frmDistrato;  // the one main screen, or null
extern bool boIdCriado;            // the screen exists
extern bool boCancela;             // a substitute is being typed into the list
extern std::string stCdEmpresa;    // company of the budget (at most 2 characters)
extern std::string stIdTpIJurClie; // person type of the substitute being typed
extern std::int32_t inCtBaixadas;  // settled receivables of the current party
// Part of the unit's exported interface as the host sees it; the module
// itself neither reads nor writes them, so they carry no behaviour.
extern bool boMarca;
extern std::string stNrEndCliSub;
extern std::string stCdClieSub;
extern std::int32_t inContOrcaChecado;

// Creates the screen once and shows it; a later call restores and shows
// the same screen.
void CriaDistratoComercial();
}
