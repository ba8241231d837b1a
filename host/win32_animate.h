// The settings dialog's opening and closing animation: the caption animation
// between the remembered cursor point and the window's rectangle.
#pragma once

#include <windows.h>

#include "common/shared_state.h"

namespace kb {

// From the point (CursorStartX, CursorStartY) to the window's rectangle. Failures are
// passed over; the result of the animation call goes to ApiResult.
void AnimateOpen(HWND window, SharedState& shared);

// From the window's rectangle back to that point.
void AnimateClose(HWND window, SharedState& shared);

}  // namespace kb
