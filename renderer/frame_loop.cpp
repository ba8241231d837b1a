#include "renderer/frame_loop.h"

#include <cstdlib>

#include "common/mouse_rule.h"
#include "renderer/scene.h"

namespace kb::renderer {

bool keyDown[kKeyCount] = {};
bool escapePressed = false;
ScreenPoint cursorStart;
bool displayOn = true;

void recordKey(std::uint64_t keyCode, bool down) {
  if (keyCode >= static_cast<std::uint64_t>(kKeyCount)) return;
  keyDown[keyCode] = down;
  if (keyCode == kEscapeKey && down) escapePressed = true;
}

double frameAverage(std::uint64_t elapsedMs, std::uint64_t frameCount) {
  if (frameCount == 0) return 0.0;
  return static_cast<double>(elapsedMs) / static_cast<double>(frameCount);
}

void displayStateChanged(std::uint32_t state) {
  displayOn = state != 0;
}

double framePeriodMs(RefreshRate rate) {
  constexpr double kDefaultHertz = 60;
  // Room for an exact rate measured a hair fast.
  constexpr double kExactMarginHertz = 0.5;
  const auto readable = [](double hertz) { return hertz >= 24 && hertz <= 600; };
  const int mode = rate.modeHertz;
  const double exact = rate.exactHertz;
  if (readable(exact) && (!readable(mode) || (exact >= mode && exact < mode + 1)))
    return 1000.0 / (exact + kExactMarginHertz);
  // The true rate lies below the next whole number.
  if (readable(mode)) return 1000.0 / (mode + 1);
  return 1000.0 / kDefaultHertz;
}

namespace {

// Closer to the next refresh than this, a frame is drawn at once: the swap
// that showed the last one waited for the screen.
constexpr double kPacingToleranceMs = 1.0;
// Short enough to catch a quick tap of Esc held in another window.
constexpr double kDarkCheckMs = 30.0;

bool escapeSeen(LoopPlatform& platform) {
  return escapePressed || platform.escapeHeldElsewhere();
}

bool mouseMovedFarEnough(LoopPlatform& platform) {
  const ScreenPoint now = platform.cursorPosition();
  return pointerMovedFarEnough(cursorStart.x, cursorStart.y, now.x, now.y);
}

}  // namespace

std::uint64_t runFrameLoop(LoopPlatform& platform) {
  std::uint32_t lastTick = platform.tickCount();
  std::uint64_t elapsedMs = 0;
  std::uint64_t frameCount = 0;
  std::uint64_t lastWParam = 0;
  bool done = false;
  double nextFrameMs = platform.preciseMs();
  while (!done) {
    if (const auto message = platform.takeMessage()) {
      lastWParam = message->wParam;
      done = message->quit;
      continue;
    }
    if (!displayOn) {
      platform.waitForMessages(kDarkCheckMs);
      lastTick = platform.tickCount();  // the dark time is no frame's time
      done = escapeSeen(platform) || mouseMovedFarEnough(platform);
      continue;
    }
    const double now = platform.preciseMs();
    const double period = framePeriodMs(platform.refreshRate());
    if (nextFrameMs - now > period + kPacingToleranceMs) nextFrameMs = now;  // the clock went back
    if (nextFrameMs - now > kPacingToleranceMs) {
      platform.waitForMessages(nextFrameMs - now);
      continue;
    }
    // A frame late by more than a refresh starts the count again from now.
    nextFrameMs = (now - nextFrameMs > period ? now : nextFrameMs) + period;
    ++frameCount;
    const std::uint32_t tick = platform.tickCount();
    elapsedMs += static_cast<std::uint32_t>(tick - lastTick);
    lastTick = tick;
    averageFrameMs = frameAverage(elapsedMs, frameCount);
    renderFrame();
    platform.showFrame();

    if (escapeSeen(platform)) {
      done = true;
    } else {
      swingSpeed();
      done = mouseMovedFarEnough(platform);
    }
  }
  return lastWParam;
}

}  // namespace kb::renderer
