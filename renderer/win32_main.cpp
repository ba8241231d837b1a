// The renderer program: opens its window, hides the cursor, runs the frame
// loop and always ends with exit code 0.
#include <windows.h>

#include "common/win32_system_dlls.h"
#include "renderer/frame_loop.h"
#include "renderer/scene.h"
#include "renderer/win32_frame_wait.h"
#include "renderer/win32_monitor_views.h"
#include "renderer/win32_window.h"

namespace kb::renderer {

namespace {

class Win32LoopPlatform final : public LoopPlatform {
 public:
  explicit Win32LoopPlatform(ScreenPoint start) : lastCursor_(start) {
    QueryPerformanceFrequency(&ticksPerSecond_);
  }

  std::optional<Message> takeMessage() override {
    MSG message = {};
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return std::nullopt;
    if (message.message == WM_QUIT) return Message{true, message.wParam};
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return Message{false, message.wParam};
  }

  std::uint32_t tickCount() override { return GetTickCount(); }

  double preciseMs() override {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 /
           static_cast<double>(ticksPerSecond_.QuadPart);
  }

  RefreshRate refreshRate() override { return sceneRefreshRate; }

  void waitForMessages(double ms) override { frameWait_.wait(ms); }

  // The other monitors first: the scene's own swap is the one that waits.
  void showFrame() override {
    drawMonitorViews();
    SwapBuffers(deviceContext);
  }

  // A failed query (say, on a locked desktop) keeps the last known position
  // rather than reading as a jump that would end the show.
  ScreenPoint cursorPosition() override {
    POINT point;
    if (GetCursorPos(&point)) lastCursor_ = {point.x, point.y};
    return lastCursor_;
  }

  // NOTE: Windows may leave the foreground to the window the user had when
  // the show started; Esc must end the scene all the same.
  bool escapeHeldElsewhere() override {
    return GetForegroundWindow() != windowHandle && (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
  }

 private:
  ScreenPoint lastCursor_;
  LARGE_INTEGER ticksPerSecond_{};
  FrameWait frameWait_;
};

ScreenPoint currentCursor() {
  POINT point = {};
  GetCursorPos(&point);
  return {point.x, point.y};
}

}  // namespace

int runRenderer(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!openRendererWindow(800, 600, false, 32)) return 0;
  openMonitorViews(windowHandle);
  framesStarted = true;
  speedRising = true;
  cursorStart = currentCursor();
  ShowCursor(FALSE);
  Win32LoopPlatform platform(cursorStart);
  const std::uint64_t lastWParam = runFrameLoop(platform);
  ShowCursor(TRUE);
  closeMonitorViews();
  closeRendererWindow(false);
  return static_cast<int>(lastWParam);
}

}  // namespace kb::renderer

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  kb::restrictDllSearchToSystemFolder();
  kb::renderer::runRenderer(instance, previous, commandLine, showCommand);
  return 0;
}
