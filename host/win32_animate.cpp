#include "host/win32_animate.h"

namespace kb {
namespace {

RECT cursorPoint(const SharedState& shared) {
  return RECT{shared.CursorStartX, shared.CursorStartY, shared.CursorStartX, shared.CursorStartY};
}

RECT windowRect(HWND window) {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window, &rect);
  return rect;
}

}  // namespace

void AnimateOpen(HWND window, SharedState& shared) {
  const RECT from = cursorPoint(shared);
  const RECT to = windowRect(window);
  shared.ApiResult = DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void AnimateClose(HWND window, SharedState& shared) {
  const RECT from = windowRect(window);
  const RECT to = cursorPoint(shared);
  shared.ApiResult = DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

}  // namespace kb
