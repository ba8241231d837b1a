#include "renderer/win32_monitor_views.h"

#include <GL/gl.h>

#include <vector>

#include "renderer/other_monitors.h"
#include "renderer/scene.h"
#include "renderer/win32_window.h"

namespace kb::renderer {
namespace {

constexpr char kViewClassName[] = "Kolvane_Brightrun_Cover";

// One other monitor's window; a context of null leaves it a black cover.
struct MonitorView {
  HWND window = nullptr;
  HDC deviceContext = nullptr;
  HGLRC context = nullptr;
};

std::vector<MonitorView> views;

LRESULT CALLBACK viewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

void releaseContext(MonitorView& view) {
  if (view.context != nullptr) wglDeleteContext(view.context);
  if (view.deviceContext != nullptr) ReleaseDC(view.window, view.deviceContext);
  view.context = nullptr;
  view.deviceContext = nullptr;
}

// NOTE: contexts that share textures must have the same pixel format (wglShareLists,
// Microsoft Learn), so the view takes the scene's own. A monitor of another
// adapter may refuse it, or the sharing: the view then stays a black cover.
bool makeContext(MonitorView& view, int width, int height) {
  PIXELFORMATDESCRIPTOR format{};
  const int index = GetPixelFormat(deviceContext);
  view.deviceContext = GetDC(view.window);
  if (view.deviceContext == nullptr || index == 0 ||
      !DescribePixelFormat(deviceContext, index, sizeof format, &format) ||
      !SetPixelFormat(view.deviceContext, index, &format))
    return false;
  view.context = wglCreateContext(view.deviceContext);
  if (view.context == nullptr || !wglShareLists(renderContext, view.context) ||
      !wglMakeCurrent(view.deviceContext, view.context))
    return false;
  // The scene's window waits for its refresh; the views never wait again.
  askForSwapInterval(view.deviceContext, 0);
  setFixedGlState();
  setProjection(width, height);
  return true;
}

}  // namespace

void openMonitorViews(HWND scene) {
  closeMonitorViews();  // made anew from the monitors as they are now
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
  const std::vector<ScreenRect> others = otherMonitors(monitors);
  if (others.empty()) return;

  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = viewWindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kViewClassName;
  RegisterClassA(&windowClass);
  // NOTE: topmost to lie above the other monitors' taskbars, which are
  // topmost themselves; a tool window has no taskbar button; no-activate
  // keeps the focus, and so Esc, with the scene's window.
  constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  for (const ScreenRect& r : others) {
    MonitorView view;
    const int width = r.right - r.left, height = r.bottom - r.top;
    view.window = CreateWindowExA(kExStyle, kViewClassName, "", WS_POPUP | WS_CLIPSIBLINGS, r.left,
                                  r.top, width, height, nullptr, nullptr, instance, nullptr);
    if (view.window == nullptr) continue;
    if (!makeContext(view, width, height)) releaseContext(view);
    // Below a topmost window it stays topmost, and below a box open over the scene.
    SetWindowPos(view.window, scene, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(view.window, SW_SHOWNOACTIVATE);
    views.push_back(view);
  }
  wglMakeCurrent(deviceContext, renderContext);
}

void drawMonitorViews() {
  bool drawn = false;
  for (const MonitorView& view : views) {
    if (view.context == nullptr || !wglMakeCurrent(view.deviceContext, view.context)) continue;
    drawScene();
    SwapBuffers(view.deviceContext);
    drawn = true;
  }
  if (drawn) wglMakeCurrent(deviceContext, renderContext);
}

void closeMonitorViews() {
  // Destroying a window handles sent messages: the list is let go first.
  std::vector<MonitorView> closing;
  closing.swap(views);
  for (MonitorView& view : closing) {
    if (view.context != nullptr && wglGetCurrentContext() == view.context)
      wglMakeCurrent(deviceContext, renderContext);
    releaseContext(view);
    DestroyWindow(view.window);
  }
  UnregisterClassA(kViewClassName, GetModuleHandleA(nullptr));
}

}  // namespace kb::renderer
