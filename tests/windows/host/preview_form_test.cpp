// The preview form inside a 200 x 150 window of this process: its place and
// size, its pixels (the picture at the top left, black to the right and
// below), and the end of the message loop when the parent is destroyed.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "host/win32_pictures.h"
#include "host/win32_preview_form.h"
#include "tests/windows/win32_test_support.h"

namespace kb {
namespace {

constexpr int kParentWidth = 200, kParentHeight = 150;

HWND makeWhiteParent() {
  return test::makeWhiteWindow("kb_test_parent", "parent", 40, 30, kParentWidth, kParentHeight);
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

bool closeTo(std::uint32_t pixel, const std::uint8_t* rgb) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return std::abs(r - rgb[0]) <= 2 && std::abs(g - rgb[1]) <= 2 && std::abs(b - rgb[2]) <= 2;
}

TEST(PreviewForm, PictureAtTopLeftBlackElsewhereAndEndWithTheParent) {
  const auto picture = previewPicture();
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, 152);
  ASSERT_EQ(picture->height, 112);

  const HWND parent = makeWhiteParent();
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
  const auto pixels = capture(form, kParentWidth, kParentHeight);
  int wrong = 0;
  for (int y = 0; y < kParentHeight; ++y) {
    for (int x = 0; x < kParentWidth; ++x) {
      const std::uint32_t pixel = pixels[y * kParentWidth + x];
      const bool inPicture = x < picture->width && y < picture->height;
      const bool right = inPicture ? closeTo(pixel, picture->at(x, y)) : (pixel & 0xFFFFFF) == 0;
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
