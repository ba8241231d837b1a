#include "renderer/win32_window.h"

#include <GL/gl.h>

#include "common/win32_system_dlls.h"
#include "renderer/frame_loop.h"
#include "renderer/gl_extensions.h"
#include "renderer/scene.h"
#include "renderer/win32_frame_wait.h"
#include "renderer/win32_gl_functions.h"
#include "renderer/win32_monitor_views.h"
#include "renderer/win32_textures.h"
#include "renderer/window_messages.h"
#include "renderer/window_size.h"

namespace kb::renderer {

HWND windowHandle = nullptr;
HDC deviceContext = nullptr;
HGLRC renderContext = nullptr;
int windowWidth = 0;
int windowHeight = 0;
RefreshRate sceneRefreshRate;
bool framesStarted = false;

namespace {

HINSTANCE instance = nullptr;
HANDLE displayStateNotification = nullptr;

constexpr DWORD kWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr UINT kTitleTimerPeriodMs = 1000;

bool registerWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = handleWindowMessage;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClassName;
  return RegisterClassA(&windowClass) != 0;
}

// Only an outright failure falls back to a window; other results keep full screen.
// The display mode request as every Windows version takes it: 156 bytes.
static_assert(sizeof(DEVMODEA) == 156, "DEVMODEA of 156 bytes");

bool enterFullScreen(int width, int height, int colourBits) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = static_cast<DWORD>(colourBits);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_FAILED;
}

bool setPixelFormat(int colourBits) {
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = static_cast<BYTE>(colourBits);
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  const int index = ChoosePixelFormat(deviceContext, &format);
  return index != 0 && SetPixelFormat(deviceContext, index, &format);
}

bool createRenderContext() {
  renderContext = wglCreateContext(deviceContext);
  return renderContext != nullptr && wglMakeCurrent(deviceContext, renderContext);
}

// A function the driver adds, from the system's opengl32; null without it.
template <typename Function>
Function driverFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

// WGL extensions are listed by the driver's own query; older drivers list
// them with OpenGL's.
bool driverOffers(HDC dc, const char* extension) {
  using ArbExtensions = const char*(WINAPI*)(HDC);
  using ExtExtensions = const char*(WINAPI*)();
  if (const auto arb = driverFunction<ArbExtensions>("wglGetExtensionsStringARB"))
    if (listsExtension(arb(dc), extension)) return true;
  if (const auto ext = driverFunction<ExtExtensions>("wglGetExtensionsStringEXT"))
    if (listsExtension(ext(), extension)) return true;
  return listsExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), extension);
}

// The scene's size at the top-left corner of the primary monitor, from the
// monitors and the work area as they are now.
WindowSize currentSceneSize() {
  return sceneWindowSize(GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED),
                         GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN));
}

// Windows 8 and later tell a registered window when the display goes off,
// dims or comes back; Wine and older Windows say nothing, and the show draws on.
void watchDisplayState() {
  using Register = HANDLE(WINAPI*)(HANDLE, const GUID*, DWORD);
  const auto registerFor =
      reinterpret_cast<Register>(loadedFunction("user32.dll", "RegisterPowerSettingNotification"));
  constexpr DWORD kWindowHandle = 0;  // DEVICE_NOTIFY_WINDOW_HANDLE
  if (registerFor != nullptr)
    displayStateNotification = registerFor(windowHandle, &kSessionDisplayStatus, kWindowHandle);
}

void stopWatchingDisplayState() {
  using Unregister = BOOL(WINAPI*)(HANDLE);
  const auto unregister = reinterpret_cast<Unregister>(
      loadedFunction("user32.dll", "UnregisterPowerSettingNotification"));
  if (displayStateNotification != nullptr && unregister != nullptr)
    unregister(displayStateNotification);
  displayStateNotification = nullptr;
}

// A power setting's new value: the display's state, when it is that setting.
void readDisplayState(LPARAM setting) {
  struct PowerSetting {  // POWERBROADCAST_SETTING
    GUID setting;
    DWORD length;
    DWORD value;
  };
  const auto* changed = reinterpret_cast<const PowerSetting*>(setting);
  if (changed != nullptr && IsEqualGUID(changed->setting, kSessionDisplayStatus) &&
      changed->length >= sizeof(DWORD))
    displayStateChanged(changed->value);
}

bool acquireWindowAndContext(DWORD exStyle, int colourBits) {
  const WindowSize size = currentSceneSize();
  windowWidth = size.width;
  windowHeight = size.height;
  windowHandle = CreateWindowExA(exStyle, kWindowClassName, kWindowTitle, kWindowStyle, 0, 0,
                                 windowWidth, windowHeight, nullptr, nullptr, instance, nullptr);
  if (windowHandle == nullptr) return false;
  deviceContext = GetDC(windowHandle);
  return deviceContext != nullptr && setPixelFormat(colourBits) && createRenderContext();
}

}  // namespace

// NOTE: one frame per screen refresh. WGL's default interval is 1, but driver
// settings override it, and some leave it at 0 unless the program asks:
// then the loop draws thousands of frames a second on a busy core and GPU.
// A driver without the extension, or one that refuses, keeps its own.
void askForSwapInterval(HDC dc, int interval) {
  using SwapInterval = BOOL(WINAPI*)(int);
  if (!driverOffers(dc, "WGL_EXT_swap_control")) return;
  if (const auto swapInterval = driverFunction<SwapInterval>("wglSwapIntervalEXT"))
    swapInterval(interval);
}

bool openRendererWindow(int width, int height, bool fullScreen, int colourBits) {
  if (!bindOpenGl()) return false;
  instance = GetModuleHandleA(nullptr);
  if (!registerWindowClass()) return false;

  if (fullScreen && !enterFullScreen(width, height, colourBits)) fullScreen = false;
  // NOTE: topmost, as screen savers' windows are: Windows may refuse a
  // program started after idle time the foreground, and a window kept on top
  // (Task Manager, a video) would otherwise lie over the scene. The texture
  // error boxes are topmost too, so none hides behind it.
  DWORD exStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  if (fullScreen) {
    exStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW;
    ShowCursor(FALSE);
  }
  if (!acquireWindowAndContext(exStyle, colourBits)) {
    closeRendererWindow(fullScreen);
    return false;
  }

  askForSwapInterval(deviceContext, 1);
  sceneRefreshRate = monitorRefreshRate(windowHandle);
  watchDisplayState();
  SetTimer(windowHandle, kTitleTimerId, kTitleTimerPeriodMs, nullptr);
  ShowWindow(windowHandle, SW_SHOW);
  SetForegroundWindow(windowHandle);
  SetFocus(windowHandle);
  setProjection(windowWidth, windowHeight);
  prepareGlState(win32TexturePlatform());
  return true;
}

void followDisplays() {
  const WindowSize size = currentSceneSize();
  windowWidth = size.width;
  windowHeight = size.height;
  // Its WM_SIZE sets the projection for the new size. NOTE: HWND_TOPMOST
  // puts the scene above every other topmost window, a texture error box
  // included, which before the first frame waits there for the user.
  const UINT order = framesStarted ? 0 : SWP_NOZORDER;
  SetWindowPos(windowHandle, HWND_TOPMOST, 0, 0, windowWidth, windowHeight, SWP_NOACTIVATE | order);
  openMonitorViews(windowHandle);
  sceneRefreshRate = monitorRefreshRate(windowHandle);
}

void closeRendererWindow(bool fullScreen) {
  framesStarted = false;
  stopWatchingDisplayState();
  if (fullScreen) {
    ChangeDisplaySettingsA(nullptr, 0);
    ShowCursor(TRUE);
  }
  if (renderContext != nullptr) {
    releaseGlState();
    wglMakeCurrent(deviceContext, nullptr);
    wglDeleteContext(renderContext);
    renderContext = nullptr;
  }
  if (deviceContext != nullptr) {
    ReleaseDC(windowHandle, deviceContext);
    deviceContext = nullptr;
  }
  if (windowHandle != nullptr) {
    DestroyWindow(windowHandle);
    windowHandle = nullptr;
  }
  UnregisterClassA(kWindowClassName, instance);
}

LRESULT CALLBACK handleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  constexpr WPARAM kPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
  if (message == WM_POWERBROADCAST && wParam == kPowerSettingChange) {
    readDisplayState(lParam);
    return TRUE;
  }
  switch (handleRendererMessage(message, wParam, static_cast<std::uint64_t>(lParam))) {
    case MessageOutcome::kHandled:
      return 0;
    case MessageOutcome::kPostQuit:
      PostQuitMessage(0);
      return 0;
    case MessageOutcome::kRestoreTitle:
      SetWindowTextA(windowHandle, kWindowTitle);
      return 0;
    case MessageOutcome::kPostFollow:
      if (!PostMessageA(window, message::kFollowDisplays, 0, 0))  // a full queue: follow now
        return handleWindowMessage(window, message::kFollowDisplays, 0, 0);
      return 0;
    case MessageOutcome::kFollowDisplays:
      if (window == windowHandle) followDisplays();
      return 0;
    case MessageOutcome::kDefault:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace kb::renderer
