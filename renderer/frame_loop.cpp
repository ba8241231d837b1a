#include "renderer/frame_loop.h"

#include <cstdlib>

#include "common/mouse_rule.h"
#include "renderer/scene.h"

namespace kb::renderer {

bool keyDown[kKeyCount] = {};
bool escapePressed = false;
ScreenPoint cursorStart;

void recordKey(std::uint64_t keyCode, bool down) {
  if (keyCode >= static_cast<std::uint64_t>(kKeyCount)) return;
  keyDown[keyCode] = down;
  if (keyCode == kEscapeKey && down) escapePressed = true;
}

double frameAverage(std::uint64_t elapsedMs, std::uint64_t frameCount) {
  if (frameCount == 0) return 0.0;
  return static_cast<double>(elapsedMs) / static_cast<double>(frameCount);
}

std::uint64_t runFrameLoop(LoopPlatform& platform) {
  std::uint32_t lastTick = platform.tickCount();
  std::uint64_t elapsedMs = 0;
  std::uint64_t frameCount = 0;
  std::uint64_t lastWParam = 0;
  bool done = false;
  while (!done) {
    if (const auto message = platform.takeMessage()) {
      lastWParam = message->wParam;
      done = message->quit;
      continue;
    }
    ++frameCount;
    const std::uint32_t tick = platform.tickCount();
    elapsedMs += static_cast<std::uint32_t>(tick - lastTick);
    lastTick = tick;
    averageFrameMs = frameAverage(elapsedMs, frameCount);
    renderFrame();
    platform.showFrame();

    if (escapePressed || platform.escapeHeldElsewhere()) {
      done = true;
    } else {
      swingSpeed();
      const ScreenPoint now = platform.cursorPosition();
      done = pointerMovedFarEnough(cursorStart.x, cursorStart.y, now.x, now.y);
    }
  }
  return lastWParam;
}

}  // namespace kb::renderer
