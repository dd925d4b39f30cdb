// Stands in for the module: records that the host called its entry.
#include <cstdio>
#include <cstdlib>

extern "C" void IniProc() {
  if (const char* marker = std::getenv("DX_TEST_MARKER")) {
    if (std::FILE* f = std::fopen(marker, "a")) {
      std::fputs("IniProc\n", f);
      std::fclose(f);
    }
  }
}
