#include "renderer/frame_loop.h"

#include <cstdlib>
#include <limits>

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

std::int32_t frameAverage(std::uint64_t elapsedMs, std::uint64_t frameCount) {
  if (frameCount == 0) return 0;
  const std::uint64_t average = elapsedMs / frameCount;
  // Only frames lasting over 24 days each could exceed this.
  if (average > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(average);
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

    if (escapePressed) {
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
