// What the Windows test programs (and the end-to-end helpers) share: message
// pumps and a plain white window to embed things in.
#pragma once

#include <windows.h>

#include <functional>

namespace kb::test {

// Handles every pending message; true when WM_QUIT was among them.
inline bool pumpPending() {
  MSG message;
  bool quit = false;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) quit = true;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return quit;
}

// Handles messages (timers among them) until `done` holds; false when it
// still does not after `deadlineMs`.
inline bool pumpUntil(const std::function<bool()>& done, DWORD deadlineMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    pumpPending();
    if (done()) return true;
    if (GetTickCount() - start > deadlineMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// A visible top-level popup of class `className` painted white.
inline HWND makeWhiteWindow(const char* className, const char* title, int x, int y, int width,
                            int height) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, className, title, WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}

}  // namespace kb::test
