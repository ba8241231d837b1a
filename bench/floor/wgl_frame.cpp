// The floor's second program: the least a GL show does before its first
// frame. A full-screen-sized window, a double-buffered context, one cleared
// and swapped frame in magenta; then it waits until a key or a close request.
// clang-format off
#include <windows.h>
#include <GL/gl.h>  // after windows.h, whose types it uses
// clang-format on

namespace {

LRESULT CALLBACK floorWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool makeContext(HDC deviceContext) {
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 16;
  const int index = ChoosePixelFormat(deviceContext, &format);
  if (index == 0 || !SetPixelFormat(deviceContext, index, &format)) return false;
  HGLRC context = wglCreateContext(deviceContext);
  return context != nullptr && wglMakeCurrent(deviceContext, context);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = floorWindowMessage;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "KbFloor";
  if (RegisterClassA(&windowClass) == 0) return 1;
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, "KbFloor", "kb_floor", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  HDC deviceContext = GetDC(window);
  if (!makeContext(deviceContext)) return 1;
  glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(deviceContext);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
