// The preview form inside a 200 x 150 window (in 96-DPI units) of this
// process: its place and size, its pixels (the picture at the top left at its
// own size in 96-DPI units, black to the right and below), and the end of the
// message loop when the parent is destroyed. The e2e_host_preview test runs
// it again at 144 dots per inch.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/win32_dpi.h"
#include "host/win32_pictures.h"
#include "host/win32_preview_form.h"
#include "tests/windows/win32_test_support.h"

namespace kb {
namespace {

HWND makeWhiteParent(int width, int height) {
  return test::makeWhiteWindow("kb_test_parent", "parent", 40, 30, width, height);
}

// The window's pixels as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> capture(HWND window, int width, int height) {
  const HDC windowDc = GetDC(window);
  const HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memoryDc, bitmap);
  BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + width * height);
  SelectObject(memoryDc, old);
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  return pixels;
}

// Whether a pixel of the picture drawn `scale` times its size is what the
// picture holds there: within 2 of the picture's pixels it lies between
// (the one pixel at scale 1), whatever smoothing drew it.
bool closeTo(std::uint32_t pixel, const RgbImage& picture, int x, int y, double scale) {
  const double px = (x + 0.5) / scale - 0.5, py = (y + 0.5) / scale - 0.5;
  const int left = std::clamp(static_cast<int>(std::floor(px)), 0, picture.width - 1);
  const int top = std::clamp(static_cast<int>(std::floor(py)), 0, picture.height - 1);
  const int right = std::min(left + (px > left ? 1 : 0), picture.width - 1);
  const int bottom = std::min(top + (py > top ? 1 : 0), picture.height - 1);
  for (int channel = 0; channel < 3; ++channel) {
    const int value = (pixel >> (16 - 8 * channel)) & 0xFF;
    int low = 255, high = 0;
    for (const int sx : {left, right})
      for (const int sy : {top, bottom}) {
        low = std::min(low, int{picture.at(sx, sy)[channel]});
        high = std::max(high, int{picture.at(sx, sy)[channel]});
      }
    if (value < low - 2 || value > high + 2) return false;
  }
  return true;
}

TEST(PreviewForm, PictureAtTopLeftBlackElsewhereAndEndWithTheParent) {
  const auto picture = previewPicture();
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, 152);
  ASSERT_EQ(picture->height, 112);

  const int dpi = windowDpi(GetDesktopWindow());
  const double scale = dpi / 96.0;
  const int parentWidth = MulDiv(200, dpi, 96), parentHeight = MulDiv(150, dpi, 96);
  const int pictureWidth = MulDiv(152, dpi, 96), pictureHeight = MulDiv(112, dpi, 96);
  const HWND parent = makeWhiteParent(parentWidth, parentHeight);
  ASSERT_NE(parent, nullptr);
  SharedState shared;
  runPreviewSetup(shared, static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(parent)));
  const HWND form = FindWindowExA(parent, nullptr, "Q_Tavel_R", "Preview Window");
  ASSERT_NE(form, nullptr);
  // A child by Windows' rules: WS_CHILD without WS_POPUP, and GetParent (which
  // Wine answers as Windows does, unlike its IsChild) names the parent.
  const LONG style = GetWindowLongA(form, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_POPUP), WS_CHILD) << std::hex << style;
  EXPECT_EQ(GetParent(form), parent);
  RECT formRect, parentRect;
  GetWindowRect(form, &formRect);
  GetWindowRect(parent, &parentRect);
  EXPECT_TRUE(EqualRect(&formRect, &parentRect));
  EXPECT_TRUE(IsWindowVisible(form));

  UpdateWindow(form);
  EXPECT_FALSE(test::pumpPending());
  const auto pixels = capture(form, parentWidth, parentHeight);
  int wrong = 0;
  for (int y = 0; y < parentHeight; ++y) {
    for (int x = 0; x < parentWidth; ++x) {
      const std::uint32_t pixel = pixels[y * parentWidth + x];
      const bool inPicture = x < pictureWidth && y < pictureHeight;
      const bool right =
          inPicture ? closeTo(pixel, *picture, x, y, scale) : (pixel & 0xFFFFFF) == 0;
      if (!right && ++wrong <= 5) ADD_FAILURE() << "pixel " << x << "," << y << " is " << pixel;
    }
  }
  EXPECT_EQ(wrong, 0);

  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_TRUE(test::pumpPending()) << "destroying the parent must end the preview's message loop";
}

TEST(PreviewForm, AHandleThatNamesNoWindowEndsAtOnce) {
  for (const std::int32_t handle : {0, 1, -1}) {
    SharedState shared;
    runPreviewSetup(shared, handle);
    EXPECT_EQ(FindWindowA("Q_Tavel_R", "Preview Window"), nullptr) << handle;
    EXPECT_TRUE(test::pumpPending()) << handle;
  }
}

}  // namespace
}  // namespace kb
