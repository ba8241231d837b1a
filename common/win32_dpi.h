// Display resolutions as Windows reports them to a per-monitor aware
// program, and pictures handed to GDI.
#pragma once

#include <windows.h>

#include "common/image.h"

namespace kb {

// The dots per inch `window` is shown at: its monitor's on Windows 10 1607
// and later (GetDpiForWindow), the system's before (LOGPIXELSY); 96 when the
// answer is none or absurd (common/twips.h).
int windowDpi(HWND window);

// A window's outer size for a client area of `width` x `height` at
// `dotsPerInch` (AdjustWindowRectExForDpi where Windows has it).
SIZE outerSizeForDpi(int width, int height, DWORD style, DWORD exStyle, int dotsPerInch);

// A top-down 24-bit DIB section holding `image`; null when GDI refuses.
HBITMAP createBitmap(const RgbImage& image);

}  // namespace kb
