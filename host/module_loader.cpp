#include "module_loader.h"

#include <dlfcn.h>

#include <filesystem>

ModuleLoader::ModuleLoader(std::string explicitPath, std::vector<std::string> candidates)
    : explicitPath_(std::move(explicitPath)), candidates_(std::move(candidates)) {}

bool ModuleLoader::load(const std::string& path) {
  attemptedPath_ = path;
  dlerror();
  // RTLD_GLOBAL: the module's own dialogs and the toolkit resolve against one copy.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!handle) {
    const char* why = dlerror();
    error_ = why ? why : "dlopen failed";
    return false;
  }
  dlerror();
  void* symbol = dlsym(handle, kEntryName);
  if (!symbol) {
    const char* why = dlerror();
    error_ = why ? why : std::string("undefined symbol: ") + kEntryName;
    dlclose(handle);
    return false;
  }
  handle_ = handle;
  entry_ = reinterpret_cast<Entry>(symbol);
  loadedPath_ = path;
  error_.clear();
  return true;
}

ModuleLoader::Entry ModuleLoader::entry() {
  if (entry_) return entry_;
  if (!explicitPath_.empty()) {
    load(explicitPath_);
    return entry_;
  }
  std::error_code ec;
  for (const auto& candidate : candidates_) {
    if (std::filesystem::exists(candidate, ec) && load(candidate)) return entry_;
  }
  if (error_.empty()) {
    // None of the places holds the file: let the loader say so in its own words.
    load(candidates_.empty() ? std::string(kLibraryName) : candidates_.front());
  }
  return entry_;
}

std::vector<std::string> defaultModuleCandidates(const std::string& executableDir) {
  namespace fs = std::filesystem;
  std::vector<std::string> out;
  const fs::path dir(executableDir);
#ifdef DX_MODULE_DIR_FROM_BIN
  // Where `cmake --install` and the packages put it.
  out.push_back((dir / DX_MODULE_DIR_FROM_BIN / ModuleLoader::kLibraryName).lexically_normal().string());
#endif
  out.push_back((dir / ".." / "lib" / ModuleLoader::kLibraryName).lexically_normal().string());
  out.push_back((dir / ModuleLoader::kLibraryName).string());
#ifdef DX_BUILD_LIB_DIR
  out.push_back((fs::path(DX_BUILD_LIB_DIR) / ModuleLoader::kLibraryName).string());
#endif
  return out;
}
