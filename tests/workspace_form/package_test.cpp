// The module as the host loads it: the entry and the unit's globals are
// exported by name, nothing is left unresolved, and the platform's shared
// state comes from the one shared platform library, never from a copy of its
// own.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PackageTest, TheModuleExportsItsEntryAndUnitGlobals) {
  void* module = dlopen(PKG_DXR10900_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  for (const char* name : {"IniProc", "CriaDistratoComercial", "frmDistrato", "boIdCriado", "boCancela",
                           "stCdEmpresa", "stIdTpIJurClie", "inCtBaixadas"})
    EXPECT_NE(dlsym(module, name), nullptr) << name;
  dlclose(module);
}

TEST(PackageTest, ThePlatformsSharedStateLivesInThePlatformLibrary) {
  void* module = dlopen(PKG_DXR10900_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  // Application(), Ui(), CurrentLoginEnvironment(), dtmDBGeral().
  for (const char* name : {"_Z11Applicationv", "_Z2Uiv", "_Z23CurrentLoginEnvironmentv", "_Z10dtmDBGeralv"}) {
    void* symbol = dlsym(module, name);
    ASSERT_NE(symbol, nullptr) << name;
    Dl_info where{};
    ASSERT_NE(dladdr(symbol, &where), 0) << name;
    EXPECT_NE(std::string(where.dli_fname).find("libdx_platform.so"), std::string::npos)
        << name << " comes from " << where.dli_fname;
  }
  dlclose(module);
}

}  // namespace
