#pragma once
// Loads the module library the way the desktop host does (dlopen, global
// symbols, kept loaded for the life of the process) and finds `IniProc`.

#include <string>
#include <vector>

namespace dxscript {

using ModuleEntry = void (*)();

// <exe dir>/../lib/libPkg_DXR10900.so, then <exe dir>/libPkg_DXR10900.so.
std::vector<std::string> DefaultModulePaths();

// The entry of the first path that exists (or of `explicitPath` when given);
// throws std::runtime_error saying which file and why.
ModuleEntry LoadModuleEntry(const std::string& explicitPath);

}  // namespace dxscript
