// The module as the host loads it: the entry and the unit's globals are
// exported by name and nothing is left unresolved.

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

TEST(PackageTest, TheModuleExportsItsEntryAndUnitGlobals) {
  void* module = dlopen(PKG_DXR10900_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  for (const char* name : {"IniProc", "CriaDistratoComercial", "frmDistrato", "boIdCriado", "boCancela",
                           "stCdEmpresa", "stIdTpIJurClie", "inCtBaixadas"})
    EXPECT_NE(dlsym(module, name), nullptr) << name;
  dlclose(module);
}

}  // namespace
