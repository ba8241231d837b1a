// Waiting between frames for the screen: a wait on the message queue that
// ends at a due time finer than the system's 15.6 ms tick, and the refresh
// rate of the scene's monitor.
#pragma once

#include <windows.h>

#include "renderer/frame_loop.h"

namespace kb::renderer {

class FrameWait {
 public:
  // A high-resolution waitable timer where Windows has one (Windows 10 1803
  // and later); elsewhere a plain one, with the system's timer resolution
  // raised to 1 ms for as long as this object lives.
  FrameWait();
  ~FrameWait();
  FrameWait(const FrameWait&) = delete;
  FrameWait& operator=(const FrameWait&) = delete;

  // Waits at most `ms`, returning at once when input or a message arrives.
  void wait(double ms);

 private:
  HANDLE timer_ = nullptr;
  bool raisedResolution_ = false;
};

// The refresh rate of the monitor `window` lies on: its current display
// mode's reading, and the compositor's exact rate where Windows gives one.
RefreshRate monitorRefreshRate(HWND window);

}  // namespace kb::renderer
