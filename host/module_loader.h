#pragma once
// Loads the module library at run time and finds its entry `IniProc`. The
// library stays loaded for the life of the host: its screens and handlers
// live in it.

#include <string>
#include <vector>

class ModuleLoader {
 public:
  using Entry = void (*)();

  // `explicitPath` wins when given; otherwise the candidates are tried in order.
  ModuleLoader(std::string explicitPath, std::vector<std::string> candidates);

  // Loads (once) and returns the entry, or nullptr with error() set.
  Entry entry();
  const std::string& error() const { return error_; }
  const std::string& loadedPath() const { return loadedPath_; }
  // The file last tried, loaded or not: the one an error is about.
  const std::string& attemptedPath() const { return attemptedPath_; }

  static constexpr const char* kLibraryName = "libPkg_DXR10900.so";
  static constexpr const char* kEntryName = "IniProc";

 private:
  bool load(const std::string& path);

  std::string explicitPath_;
  std::vector<std::string> candidates_;
  void* handle_ = nullptr;
  Entry entry_ = nullptr;
  std::string loadedPath_;
  std::string attemptedPath_;
  std::string error_;
};

// <exe dir>/../lib, <exe dir>, then the build's library folder.
std::vector<std::string> defaultModuleCandidates(const std::string& executableDir);
