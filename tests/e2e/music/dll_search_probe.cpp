// Test helper: loads a DLL by its bare name, after keeping the DLL search to
// the system folder when the first argument is "restrict" (any other word
// leaves Windows' search order as it is), and prints "loaded <path>" of the
// copy that loaded, or "loaded none".
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/win32_system_dlls.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  if (std::strcmp(argv[1], "restrict") == 0) kb::restrictDllSearchToSystemFolder();
  char path[MAX_PATH] = "none";
  if (const HMODULE module = LoadLibraryA(argv[2])) GetModuleFileNameA(module, path, MAX_PATH);
  std::printf("loaded %s\n", path);
  return 0;
}
