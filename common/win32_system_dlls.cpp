#include "common/win32_system_dlls.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace kb {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// The DLL by its full path in the system folder, so that even its own
// imports are looked up beside it.
HMODULE loadFromSystemFolder(const char* dll) {
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + std::strlen(dll) >= MAX_PATH) return nullptr;
  path[length] = '\\';
  std::strcpy(path + length + 1, dll);
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void* loadedFunction(const char* dll, const char* name) {
  const HMODULE module = GetModuleHandleA(dll);
  return module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

void restrictDllSearchToSystemFolder() {
  // Windows before 7 without its update lacks it; the full paths of
  // bindSystemFunctions still hold there.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      loadedFunction("kernel32.dll", "SetDefaultDllDirectories"));
  if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(kSearchSystem32);
  SetDllDirectoryA("");  // drops the current folder from the older search order
}

bool bindSystemFunctions(const char* dll, const SystemFunction* functions, std::size_t count) {
  const HMODULE module = loadFromSystemFolder(dll);
  if (module == nullptr) return false;
  std::vector<void*> found(count);
  for (std::size_t i = 0; i < count; ++i) {
    found[i] = reinterpret_cast<void*>(GetProcAddress(module, functions[i].name));
    if (found[i] == nullptr) return false;
  }
  for (std::size_t i = 0; i < count; ++i) *functions[i].slot = found[i];
  return true;
}

}  // namespace kb
