#include "module_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>

namespace dxscript {

namespace {

constexpr const char* kLibraryName = "libPkg_DXR10900.so";
constexpr const char* kEntryName = "IniProc";

ModuleEntry Load(const std::string& path) {
  dlerror();
  // The module and this program share one toolkit, one application and one
  // login environment: both link the shared platform library.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!handle) {
    const char* why = dlerror();
    throw std::runtime_error("cannot load the module " + path + ": " + (why ? why : "dlopen failed"));
  }
  void* symbol = dlsym(handle, kEntryName);
  if (!symbol) throw std::runtime_error("the module " + path + " has no " + kEntryName);
  return reinterpret_cast<ModuleEntry>(symbol);
}

}  // namespace

std::vector<std::string> DefaultModulePaths() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  const fs::path dir = ec ? fs::current_path() : exe.parent_path();
  // Installed trees keep the module in a private folder; the build tree in lib/.
  return {(dir / DX_MODULE_DIR_FROM_BIN / kLibraryName).lexically_normal().string(),
          (dir / ".." / "lib" / kLibraryName).lexically_normal().string(), (dir / kLibraryName).string()};
}

ModuleEntry LoadModuleEntry(const std::string& explicitPath) {
  if (!explicitPath.empty()) return Load(explicitPath);
  const auto candidates = DefaultModulePaths();
  std::error_code ec;
  for (const std::string& path : candidates)
    if (std::filesystem::exists(path, ec)) return Load(path);
  throw std::runtime_error(std::string("the module ") + kLibraryName + " was not found at " + candidates[1] +
                           " (build the module, or give --module PATH)");
}

}  // namespace dxscript
