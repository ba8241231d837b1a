// The real Command window under Wine: messages in, pixels of its persistent
// face image and Click notifications out.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "controls/win32_command.h"
#include "tests/windows/win32_test_support.h"

namespace kb::controls {
namespace {

constexpr int kButtonId = 1201;
constexpr COLORREF kFrame = RGB(0x00, 0x3C, 0x74);
constexpr COLORREF kParentColour = RGB(10, 200, 30);

std::vector<HWND> g_clicks;  // lParam of every BN_CLICKED from kButtonId

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
    g_clicks.push_back(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  if (message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(kParentColour);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LPARAM At(int x, int y) {
  return MAKELPARAM(x, y);
}

class CommandWindowTest : public ::testing::Test {
 protected:
  // One parent window for the whole suite: each top-level window costs Wine
  // about two seconds to take down without a window manager.
  static void SetUpTestSuite() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KbCommandTestParent";
    RegisterClassExW(&windowClass);
    parent = MakeParent();
    other = CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 200, 100,
                            60, 25, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(parent); }

  static HWND MakeParent() {
    HWND window =
        CreateWindowExW(0, L"KbCommandTestParent", L"Command test", WS_POPUP | WS_VISIBLE, 40, 40,
                        320, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    return window;
  }

  void SetUp() override {
    ASSERT_NE(parent, nullptr);
    g_clicks.clear();
    SetFocus(other);
  }
  void TearDown() override {
    for (HWND window : windows) {
      if (IsWindow(window)) DestroyWindow(window);
    }
  }

  Command* Make(Rect bounds = {300, 300, 1095, 375}, const char* caption = "設定") {
    CommandSetup setup;
    setup.id = kButtonId;
    setup.bounds = bounds;
    setup.caption = caption;
    setup.font = DialogFont();
    Command* command = Command::Create(parent, setup);
    if (command) {
      command->Initialize();
      windows.push_back(command->Window());
    }
    return command;
  }

  static COLORREF Face(Command* command, int x, int y) {
    return GetPixel(command->FaceImage(), x, y);
  }

  // The control as it is shown: what it paints into a DC of our own.
  static std::vector<COLORREF> Rendered(Command* command, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(command->Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
  }

  static HWND parent;
  static HWND other;
  std::vector<HWND> windows;
};

HWND CommandWindowTest::parent = nullptr;
HWND CommandWindowTest::other = nullptr;

int Luminance(COLORREF c) {
  return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

TEST_F(CommandWindowTest, IsAFocusableChildAtItsTwipsPlace) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  EXPECT_EQ(Command::FromWindow(window), command);
  EXPECT_EQ(GetParent(window), parent);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP);
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 20);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right - rect.left, 73);
  EXPECT_EQ(rect.bottom - rect.top, 25);
  EXPECT_EQ(command->Caption(), "設定");
  EXPECT_TRUE(command->Font() == DialogFont());
  EXPECT_EQ(command->Core().FaceState(), face_state::kNormal);
}

TEST_F(CommandWindowTest, FacesShowTheirFramesAndRings) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  // Normal: the dark blue frame on rows 1 and 23, columns 1 and 71; near-white ring.
  EXPECT_EQ(Face(command, 36, 1), kFrame);
  EXPECT_EQ(Face(command, 36, 23), kFrame);
  EXPECT_EQ(Face(command, 1, 12), kFrame);
  EXPECT_EQ(Face(command, 71, 12), kFrame);
  EXPECT_EQ(Face(command, 36, 2), RGB(0xF3, 0xF3, 0xEE));
  EXPECT_GT(GetRValue(Face(command, 36, 5)), GetRValue(Face(command, 36, 19)) + 20)
      << "white at the top, lavender at the bottom";

  SendMessageW(window, WM_MOUSEMOVE, 0, At(36, 12));  // HighLight: orange ring
  EXPECT_EQ(command->Core().FaceState(), face_state::kHighLight);
  EXPECT_EQ(Face(command, 36, 1), kFrame);
  EXPECT_EQ(Face(command, 36, 3), RGB(0xFD, 0xD8, 0x89));
  EXPECT_EQ(Face(command, 36, 22), RGB(0xE5, 0x97, 0x00));
  EXPECT_LT(GetRValue(Face(command, 36, 5)) + 20, GetRValue(Face(command, 36, 19)))
      << "reversed gradient while the pointer is over";

  SetFocus(other);
  SendMessageW(window, WM_KILLFOCUS, 0, 0);
  SendMessageW(window, WM_TIMER, 1, 0);  // the pointer is not over the button
  SetFocus(window);                      // Selected: blue ring
  EXPECT_EQ(command->Core().FaceState(), face_state::kSelected);
  EXPECT_EQ(Face(command, 36, 1), kFrame);
  EXPECT_EQ(Face(command, 36, 2), RGB(0xCE, 0xE7, 0xFF));
  EXPECT_EQ(Face(command, 36, 21), RGB(0x69, 0x82, 0xEE));

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(36, 12));  // Pressed: frame one in
  EXPECT_EQ(Face(command, 36, 2), kFrame);
  EXPECT_EQ(Face(command, 36, 3), RGB(0xD1, 0xCC, 0xC1));
  EXPECT_EQ(Face(command, 2, 12), kFrame);
  SendMessageW(window, WM_LBUTTONUP, 0, At(36, 12));

  command->SetEnabled(false);  // Disable: grey-beige frame, flat face
  EXPECT_EQ(Face(command, 36, 1), RGB(0xC9, 0xC7, 0xBA));
  EXPECT_EQ(Face(command, 36, 2), RGB(0xF5, 0xF4, 0xEA));
  EXPECT_EQ(Face(command, 71, 12), RGB(0xC9, 0xC7, 0xBA));
}

TEST_F(CommandWindowTest, PaintShowsTheFaceImageOnScreen) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  SendMessageW(window, WM_MOUSEMOVE, 0, At(36, 12));  // repaints and refreshes at once
  HDC screen = GetDC(window);
  EXPECT_EQ(GetPixel(screen, 36, 1), kFrame);
  EXPECT_EQ(GetPixel(screen, 36, 3), RGB(0xFD, 0xD8, 0x89));
  ReleaseDC(window, screen);
}

TEST_F(CommandWindowTest, SmallestInstanceKeepsFourPixelCorners) {
  Command* command = Make({540, 1740, 435, 315}, "...");
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(Face(command, 0, 0), RGB(0xE9, 0xE7, 0xD5));  // the skin's own corner
  EXPECT_EQ(Face(command, 1, 1), RGB(0xE6, 0xE1, 0xD0));
  EXPECT_EQ(Face(command, 27, 10), kFrame);                 // right frame column
  EXPECT_EQ(Face(command, 14, 19), kFrame);                 // bottom frame row
  EXPECT_EQ(Face(command, 28, 10), RGB(0xF0, 0xEE, 0xE0));  // outer right column
}

TEST_F(CommandWindowTest, ClickOnReleaseGoesToTheParent) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  SendMessageW(window, WM_MOUSEMOVE, 0, At(10, 10));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  EXPECT_EQ(GetFocus(), window) << "a press takes the focus";
  EXPECT_EQ(command->Core().FaceState(), face_state::kHighLightSelect);
  EXPECT_TRUE(g_clicks.empty());
  SendMessageW(window, WM_LBUTTONUP, 0, At(10, 10));
  ASSERT_EQ(g_clicks.size(), 1u);
  EXPECT_EQ(g_clicks[0], window);
  EXPECT_EQ(Face(command, 36, 3), RGB(0xFD, 0xD8, 0x89)) << "HighLightSelect after release";

  // Captured moves outside the button are not "over" it: no HighLightSelect while dragging off.
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageW(window, WM_TIMER, 1, 0);  // the real pointer is not over the button
  ASSERT_EQ(command->Core().FaceState(), face_state::kSelected);
  SendMessageW(window, WM_LBUTTONUP, 0, At(-30, 40));
  SendMessageW(window, WM_MOUSEMOVE, 0, At(-30, 40));
  EXPECT_EQ(command->Core().FaceState(), face_state::kSelected);
  EXPECT_EQ(g_clicks.size(), 1u) << "no Click for a release after leaving";

  SendMessageW(window, WM_MOUSEMOVE, 0, At(10, 10));
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
  SendMessageW(window, WM_RBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(g_clicks.size(), 2u) << "a right-button release clicks too";
}

TEST_F(CommandWindowTest, SpaceAndEnterClickOnTheirRelease) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  SetFocus(window);
  ASSERT_EQ(GetFocus(), window);
  for (WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
    const std::size_t before = g_clicks.size();
    SendMessageW(window, WM_KEYDOWN, key, 0);
    SendMessageW(window, WM_KEYDOWN, key, 1 << 30);  // its auto-repeat
    SendMessageW(window, WM_CHAR, key == VK_SPACE ? L' ' : L'\r', 0);
    EXPECT_EQ(g_clicks.size(), before) << "not while the key is down";
    SendMessageW(window, WM_KEYUP, key, 0);
    EXPECT_EQ(g_clicks.size(), before + 1) << key;
  }
  MSG message{};
  message.hwnd = window;
  message.message = WM_KEYDOWN;
  message.wParam = VK_RETURN;
  IsDialogMessageW(parent, &message);
  test::pumpUntil([] { return false; }, 100);
  EXPECT_EQ(g_clicks.size(), 2u) << "the dialog manager's Enter is no key on the button";
}

TEST_F(CommandWindowTest, DisabledIgnoresMouseAndNeverClicks) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  command->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(window));
  EXPECT_FALSE(command->Enabled());
  SendMessageW(window, WM_MOUSEMOVE, 0, At(10, 10));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageW(window, WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_TRUE(g_clicks.empty());
  EXPECT_EQ(Face(command, 36, 1), RGB(0xC9, 0xC7, 0xBA));

  command->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(window));
  EXPECT_EQ(Face(command, 36, 1), kFrame);
}

TEST_F(CommandWindowTest, DisabledCaptionIsGreyed) {
  Command* command = Make({300, 300, 1875, 375}, "その他の作品");
  ASSERT_NE(command, nullptr);
  auto darkest = [&] {
    int lowest = 255;
    for (COLORREF c : Rendered(command, 125, 25)) lowest = std::min(lowest, Luminance(c));
    return lowest;
  };
  // The frame itself is dark blue; measure the caption band only.
  auto darkestInCaption = [&] {
    const std::vector<COLORREF> pixels = Rendered(command, 125, 25);
    int lowest = 255;
    for (int y = 5; y < 19; ++y) {
      for (int x = 8; x < 117; ++x) lowest = std::min(lowest, Luminance(pixels[y * 125 + x]));
    }
    return lowest;
  };
  EXPECT_LT(darkest(), 80);
  EXPECT_LT(darkestInCaption(), 60) << "black caption text";
  command->SetEnabled(false);
  const int greyed = darkestInCaption();
  EXPECT_GT(greyed, 60) << "no black text when disabled";
  EXPECT_LT(greyed, 200) << "but the text is still drawn";
}

TEST_F(CommandWindowTest, TrackingTimerNoticesThePointerLeaving) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  HWND window = command->Window();
  RECT rect;
  GetWindowRect(window, &rect);
  ASSERT_TRUE(SetCursorPos(rect.left + 10, rect.top + 10));
  SendMessageW(window, WM_MOUSEMOVE, 0, At(10, 10));
  ASSERT_EQ(command->Core().FaceState(), face_state::kHighLight);

  ASSERT_TRUE(SetCursorPos(rect.left + 150, rect.top + 60));  // over the parent
  EXPECT_TRUE(test::pumpUntil([&] { return command->Core().FaceState() == face_state::kNormal; }));
  EXPECT_EQ(Face(command, 36, 2), RGB(0xF3, 0xF3, 0xEE));
}

TEST_F(CommandWindowTest, VisibleZeroShowsTheParentBehindTheCaption) {
  Command* command = Make();
  ASSERT_NE(command, nullptr);
  command->SetVisible(0);
  EXPECT_EQ(command->Visible(), 0);
  EXPECT_EQ(Rendered(command, 73, 25)[1 * 73 + 36], kParentColour);
  command->SetVisible(1);
  EXPECT_EQ(command->Visible(), 255);
  EXPECT_EQ(Rendered(command, 73, 25)[1 * 73 + 36], kFrame);
}

TEST_F(CommandWindowTest, ClickHandlerMayDestroyTheForm) {
  HWND form = MakeParent();
  ASSERT_NE(form, nullptr);
  CommandSetup setup;
  setup.id = kButtonId;
  setup.bounds = {300, 300, 1095, 375};
  int handled = 0;
  setup.onClick = [&] {
    ++handled;
    DestroyWindow(form);
  };
  Command* command = Command::Create(form, setup);
  ASSERT_NE(command, nullptr);
  command->Initialize();
  HWND window = command->Window();
  SendMessageW(window, WM_MOUSEMOVE, 0, At(10, 10));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageW(window, WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(handled, 1);
  EXPECT_TRUE(g_clicks.empty()) << "a handler replaces WM_COMMAND";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Command::FromWindow(window), nullptr);
}

}  // namespace
}  // namespace kb::controls
