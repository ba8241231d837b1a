// Holds a Wine session open: makes one hidden window, which brings up the
// desktop process, says "ready" on standard output, then pumps messages
// until Wine's server ends it. Programs started while it runs find the
// desktop already there instead of each racing to start it afresh.
#include <windows.h>

#include <cstdio>

int main() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "KbWineHolder";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, "KbWineHolder", "kb wine holder", WS_OVERLAPPED, 0, 0, 1, 1,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  std::puts("ready");
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
