// The floor's first program: starts floor_wgl.exe from its own folder, as the
// screensaver program starts the renderer, and waits for it to end.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  char* slash = std::strrchr(path, '\\');
  if (slash == nullptr || slash + sizeof "floor_wgl.exe" > path + MAX_PATH) return 1;
  std::strcpy(slash + 1, "floor_wgl.exe");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(path, path, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 1;
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
