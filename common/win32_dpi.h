// Display resolutions as Windows reports them to a per-monitor aware
// program, and pictures handed to GDI.
#pragma once

#include <windows.h>

#include "common/image.h"

namespace kb {

// The dots per inch `window` is shown at: its own on Windows 10 1607 and
// later (GetDpiForWindow), its monitor's on Windows 8.1 and later
// (GetDpiForMonitor, from shcore), the system's before (LOGPIXELSY); 96 when
// the answer is none or absurd (common/twips.h).
int windowDpi(HWND window);

// True on a thread of the second kind of per-monitor awareness (Windows 10
// 1703 and later): Windows scales its windows' frames and, through
// WM_GETDPISCALEDSIZE, suggests sizes that fit their client areas.
bool perMonitorAwareV2();

// Asks Windows 10 1607 to scale the title bar and frame of a per-monitor
// window of the first kind, from its WM_NCCREATE (no effect elsewhere).
void enableNonClientDpiScaling(HWND window);

// A window's outer size for a client area of `width` x `height` at
// `dotsPerInch` (AdjustWindowRectExForDpi where Windows has it).
SIZE outerSizeForDpi(int width, int height, DWORD style, DWORD exStyle, int dotsPerInch);

// A top-down 24-bit DIB section holding `image`; null when GDI refuses.
HBITMAP createBitmap(const RgbImage& image);

}  // namespace kb
