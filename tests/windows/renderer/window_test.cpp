#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "common/image.h"
#include "common/slide_files.h"
#include "renderer/frame_loop.h"
#include "renderer/scene.h"
#include "renderer/win32_window.h"
#include "tests/windows/win32_test_support.h"

namespace {

using namespace kb::renderer;

// The ten hand-off bitmaps, so that loading shows no message box.
void placeSlideBitmaps() {
  for (int k = 0; k < kb::kSlideFileCount; ++k) {
    const int width = k == 0 ? kb::kReelWidth : kb::kSlideSide;
    const int height = k == 0 ? kb::kReelHeight : kb::kSlideSide;
    kb::RgbImage image{width, height, std::vector<std::uint8_t>(width * height * 3, 0x40)};
    const auto bytes = kb::encodeBitmap(image);
    std::ofstream(kb::slideFileName(k), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
}

std::string windowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class RendererWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { placeSlideBitmaps(); }
  void SetUp() override { ASSERT_TRUE(openRendererWindow(800, 600, false, 32)); }
  void TearDown() override {
    closeRendererWindow(false);
    kb::test::pumpPending();
  }
};

TEST_F(RendererWindowTest, OpensAtTheOriginCoveringThePrimaryMonitor) {
  char className[64] = {};
  GetClassNameA(windowHandle, className, sizeof className);
  EXPECT_STREQ(className, "OpenGL");
  EXPECT_EQ(windowText(windowHandle), "Kolvane_Brightrun_Viewer");
  EXPECT_EQ(FindWindowA("OpenGL", "Kolvane_Brightrun_Viewer"), windowHandle);

  RECT rect;
  ASSERT_TRUE(GetWindowRect(windowHandle, &rect));
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_GE(rect.right - rect.left, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_GE(rect.bottom - rect.top,
            GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION));
  // The whole primary monitor lies under it, so Windows hides the taskbar.
  RECT monitor{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT both;
  ASSERT_TRUE(IntersectRect(&both, &rect, &monitor));
  EXPECT_TRUE(EqualRect(&both, &monitor));
  EXPECT_EQ(windowWidth, rect.right);
  EXPECT_EQ(windowHeight, rect.bottom);

  const LONG_PTR style = GetWindowLongPtrA(windowHandle, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrA(windowHandle, GWL_EXSTYLE);
  EXPECT_EQ(style & ~WS_VISIBLE, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_TRUE(style & WS_VISIBLE);
  // The system drops WS_EX_WINDOWEDGE from a window without a frame.
  EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST) << "above the taskbar and windows kept on top";
  EXPECT_EQ(GetClassLongPtrA(windowHandle, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_OWNDC);
}

TEST_F(RendererWindowTest, HasADoubleBufferedContextWithDepthAndTheSceneReady) {
  PIXELFORMATDESCRIPTOR format = {};
  const int index = GetPixelFormat(deviceContext);
  ASSERT_NE(index, 0);
  ASSERT_NE(DescribePixelFormat(deviceContext, index, sizeof format, &format), 0);
  const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  EXPECT_EQ(format.dwFlags & wanted, wanted);
  EXPECT_EQ(format.iPixelType, PFD_TYPE_RGBA);
  EXPECT_GE(format.cDepthBits, 16);
  EXPECT_GE(format.cColorBits, 24);

  EXPECT_EQ(wglGetCurrentContext(), renderContext);
  EXPECT_EQ(wglGetCurrentDC(), deviceContext);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], windowWidth);
  EXPECT_EQ(viewport[3], windowHeight);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  for (unsigned int slot : slideTextures) EXPECT_NE(slot, 0u) << "every bitmap was loaded";
  EXPECT_FLOAT_EQ(reelAngle, 100.0f);
}

TEST_F(RendererWindowTest, TimerRestoresTheTitleAndCloseOnlyAsksToQuit) {
  SetWindowTextA(windowHandle, "something else");
  SendMessageA(windowHandle, WM_TIMER, 2, 0);
  EXPECT_EQ(windowText(windowHandle), "something else") << "other timers do nothing";
  SendMessageA(windowHandle, WM_TIMER, 1, 0);
  EXPECT_EQ(windowText(windowHandle), "Kolvane_Brightrun_Viewer");

  EXPECT_EQ(SendMessageA(windowHandle, WM_CLOSE, 0, 0), 0);
  EXPECT_TRUE(IsWindow(windowHandle)) << "the window is not destroyed by a close request";
  EXPECT_TRUE(kb::test::pumpPending());
}

TEST_F(RendererWindowTest, EscIsRecordedButSystemKeysAreNot) {
  SendMessageA(windowHandle, WM_SYSKEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(keyDown[VK_ESCAPE]);
  SendMessageA(windowHandle, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(keyDown[VK_ESCAPE]);
  SendMessageA(windowHandle, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_FALSE(keyDown[VK_ESCAPE]);
}

TEST(RendererWindowClose, ReleasesEverythingSoTheWindowCanOpenAgain) {
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(openRendererWindow(800, 600, false, 32)) << round;
    const HWND opened = windowHandle;
    closeRendererWindow(false);
    EXPECT_FALSE(IsWindow(opened));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    WNDCLASSA windowClass;
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "OpenGL", &windowClass));
  }
}

TEST(RendererWindowOpen, FailsQuietlyWhenTheClassCannotBeRegistered) {
  WNDCLASSA taken = {};
  taken.lpfnWndProc = DefWindowProcA;
  taken.hInstance = GetModuleHandleA(nullptr);
  taken.lpszClassName = "OpenGL";
  ASSERT_TRUE(RegisterClassA(&taken));
  EXPECT_FALSE(openRendererWindow(800, 600, false, 32));
  EXPECT_EQ(FindWindowA(nullptr, "Kolvane_Brightrun_Viewer"), nullptr);
  UnregisterClassA("OpenGL", GetModuleHandleA(nullptr));
}

}  // namespace
