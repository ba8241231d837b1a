#include "renderer/win32_covers.h"

#include <windows.h>

#include <vector>

#include "renderer/monitor_covers.h"

namespace kb::renderer {
namespace {

constexpr char kCoverClassName[] = "Kolvane_Brightrun_Cover";

std::vector<HWND> covers;

LRESULT CALLBACK coverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:  // a click leaves the focus with the scene
      return MA_NOACTIVATE;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

void openMonitorCovers(HWND scene) {
  closeMonitorCovers();  // made anew from the monitors as they are now
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
  const std::vector<ScreenRect> toCover = monitorsToCover(monitors);
  if (toCover.empty()) return;

  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = coverWindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kCoverClassName;
  RegisterClassA(&windowClass);
  // NOTE: topmost to lie above the other monitors' taskbars, which are
  // topmost themselves; a tool window has no taskbar button; no-activate
  // keeps the focus, and so Esc, with the scene's window.
  constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  for (const ScreenRect& r : toCover) {
    const HWND cover =
        CreateWindowExA(kExStyle, kCoverClassName, "", WS_POPUP, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (cover == nullptr) continue;
    // Below a topmost window it stays topmost, and below a box open over the scene.
    SetWindowPos(cover, scene, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    covers.push_back(cover);
  }
}

void closeMonitorCovers() {
  // Destroying a window handles sent messages: the list is let go first.
  std::vector<HWND> closing;
  closing.swap(covers);
  for (const HWND cover : closing) DestroyWindow(cover);
  UnregisterClassA(kCoverClassName, GetModuleHandleA(nullptr));
}

}  // namespace kb::renderer
