#include "renderer/frame_loop.h"

#include <cstdlib>
#include <limits>

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

std::int32_t frameAverage(std::uint32_t startTick, std::uint32_t nowTick, std::int32_t frameCount) {
  if (frameCount <= 0) return 0;
  const std::int64_t elapsed = static_cast<std::uint32_t>(nowTick - startTick);
  const std::int64_t average = elapsed / frameCount;
  // Only a single frame lasting over 24 days could exceed this.
  if (average > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(average);
}

bool cursorMovedFarEnough(ScreenPoint start, ScreenPoint now) {
  const std::int64_t dx = std::llabs(static_cast<std::int64_t>(now.x) - start.x);
  const std::int64_t dy = std::llabs(static_cast<std::int64_t>(now.y) - start.y);
  return dx > kCursorSlack && dy > kCursorSlack;
}

std::uint64_t runFrameLoop(LoopPlatform& platform) {
  const std::uint32_t startTick = platform.tickCount();
  std::int32_t frameCount = 0;
  std::uint64_t lastWParam = 0;
  bool done = false;
  while (!done) {
    if (const auto message = platform.takeMessage()) {
      lastWParam = message->wParam;
      done = message->quit;
      continue;
    }
    ++frameCount;
    averageFrameMs = frameAverage(startTick, platform.tickCount(), frameCount);
    renderFrame();
    platform.showFrame();

    if (escapePressed) {
      done = true;
    } else {
      swingSpeed();
      done = cursorMovedFarEnough(cursorStart, platform.cursorPosition());
    }
  }
  return lastWParam;
}

}  // namespace kb::renderer
