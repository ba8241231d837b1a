#include "common/win32_dpi.h"

#include <cstring>

#include "common/twips.h"
#include "common/win32_system_dlls.h"

namespace kb {
namespace {

// A user32 function Windows added after XP, or null.
template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(loadedFunction("user32.dll", name));
}

// The effective resolution of the window's monitor, or 0 without shcore
// (Windows 7 and 8). NOTE: shcore is not a KnownDLL: it comes from the
// system folder only.
UINT monitorDpi(HWND window) {
  using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const GetDpiForMonitor getDpiForMonitor = [] {
    void* address = nullptr;
    const SystemFunction function{"GetDpiForMonitor", &address};
    bindSystemFunctions("shcore.dll", &function, 1);
    return reinterpret_cast<GetDpiForMonitor>(address);
  }();
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT x = 0, y = 0;
  if (getDpiForMonitor == nullptr ||
      FAILED(getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi,
                              &x, &y)))
    return 0;
  return y;
}

}  // namespace

int windowDpi(HWND window) {
  static const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return usableDpi(static_cast<int>(dpi));
  }
  if (const UINT dpi = monitorDpi(window); dpi != 0) return usableDpi(static_cast<int>(dpi));
  const HDC dc = GetDC(window);
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  if (dc != nullptr) ReleaseDC(window, dc);
  return usableDpi(dpi);
}

bool perMonitorAwareV2() {
  using Context = HANDLE;  // DPI_AWARENESS_CONTEXT
  static const auto threadContext =
      user32Function<Context(WINAPI*)()>("GetThreadDpiAwarenessContext");
  static const auto same =
      user32Function<BOOL(WINAPI*)(Context, Context)>("AreDpiAwarenessContextsEqual");
  const Context perMonitorV2 = reinterpret_cast<Context>(-4);  // ..._PER_MONITOR_AWARE_V2
  return threadContext != nullptr && same != nullptr && same(threadContext(), perMonitorV2);
}

void enableNonClientDpiScaling(HWND window) {
  static const auto enable = user32Function<BOOL(WINAPI*)(HWND)>("EnableNonClientDpiScaling");
  if (enable != nullptr) enable(window);
}

SIZE outerSizeForDpi(int width, int height, DWORD style, DWORD exStyle, int dotsPerInch) {
  static const auto adjustForDpi =
      user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  RECT outer{0, 0, width, height};
  if (adjustForDpi == nullptr ||
      !adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dotsPerInch)))
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

HBITMAP createBitmap(const RgbImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return bitmap;
  const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
  auto* rows = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* rgb = image.at(x, y);
      std::uint8_t* bgr = rows + y * stride + static_cast<std::size_t>(x) * 3;
      bgr[0] = rgb[2];
      bgr[1] = rgb[1];
      bgr[2] = rgb[0];
    }
  return bitmap;
}

}  // namespace kb
