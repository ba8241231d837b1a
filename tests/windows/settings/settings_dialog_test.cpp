// The settings window under Wine: its frame, controls, track box, kind
// selection, focus order and what its buttons write.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <oleacc.h>  // after windows.h
// clang-format on

#include <chrono>
#include <string>
#include <vector>

#include "common/twips.h"
#include "controls/win32_command.h"
#include "settings/dialog_model.h"
#include "settings/win32_settings_dialog.h"
#include "tests/windows/win32_test_support.h"

namespace {

using kb::settings::IniWrite;

using kb::test::pumpUntil;

RECT rectIn(HWND container, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void expectAt(HWND container, HWND child, const kb::settings::ControlLayout& layout) {
  // Every layout value is a whole number of 15-twip pixels.
  const kb::settings::TwipsRect& want = layout.rect;
  const RECT r = rectIn(container, child);
  EXPECT_EQ(r.left, want.left / 15) << layout.name;
  EXPECT_EQ(r.top, want.top / 15) << layout.name;
  EXPECT_EQ(r.right - r.left, want.width / 15) << layout.name;
  EXPECT_EQ(r.bottom - r.top, want.height / 15) << layout.name;
}

std::wstring windowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring listEntry(HWND box, int index) {
  wchar_t text[64] = {};
  SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (dialog_ != nullptr && IsWindow(dialog_)) DestroyWindow(dialog_);
  }

  HWND load() {
    kb::settings::DialogHost host;
    host.writeSetting = [this](const IniWrite& write) { writes_.push_back(write); };
    host.animateOpen = [this](HWND window) {
      opened_.push_back(window);
      cursorAtOpen_ = {shared_.CursorStartX, shared_.CursorStartY};
    };
    host.animateClose = [this](HWND window) { closed_.push_back(window); };
    dialog_ = kb::settings::LoadSettingsDialog(GetModuleHandleW(nullptr), shared_, host);
    return dialog_;
  }

  HWND panel() const { return GetDlgItem(dialog_, kb::settings::kIdPanel); }
  HWND repeatBox() const { return GetDlgItem(panel(), kb::settings::kIdRepeatBox); }
  HWND button(int id) const {
    return GetDlgItem(id == kb::settings::kIdCmdBgm ? panel() : dialog_, id);
  }

  // A user's click: the pointer arrives, the button goes down and comes up.
  void click(int id) const {
    const HWND target = button(id);
    SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  }

  void pressOnPanel(UINT message, const kb::settings::TwipsRect& where) const {
    SendMessageW(
        panel(), message, 0,
        MAKELPARAM((where.left + where.width / 2) / 15, (where.top + where.height / 2) / 15));
  }

  bool closedByItself() const {
    return pumpUntil([this] { return !IsWindow(dialog_); });
  }

  kb::SharedState shared_;
  HWND dialog_ = nullptr;
  std::vector<IniWrite> writes_;
  std::vector<HWND> opened_;
  std::vector<HWND> closed_;
  POINT cursorAtOpen_{};
};

TEST_F(SettingsDialogTest, WindowFrameCaptionSizeIconAndPlace) {
  ASSERT_NE(load(), nullptr);
  EXPECT_EQ(windowText(dialog_), L"<Kolvane_Brightrun>");
  EXPECT_EQ(FindWindowA(nullptr, "<Kolvane_Brightrun>"), dialog_);

  const LONG_PTR style = GetWindowLongPtrW(dialog_, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_FALSE(GetWindowLongPtrW(dialog_, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  // Owned by a hidden window of its own: no task-bar button.
  const HWND owner = GetWindow(dialog_, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));

  RECT client{};
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client.right, 479);
  EXPECT_EQ(client.bottom, 252);

  const HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(dialog_, GCLP_HICON));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 32);
  EXPECT_EQ(colour.bmHeight, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  RECT outer{};
  GetWindowRect(dialog_, &outer);
  // Centred across the screen, a third of the free height from the top
  // (within a pixel: the placement is worked out in twips).
  const int freeWidth = GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left);
  const int freeHeight = GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top);
  EXPECT_NEAR(outer.left, freeWidth / 2.0, 1.0);
  EXPECT_NEAR(outer.top, freeHeight / 3.0, 1.0);
}

TEST_F(SettingsDialogTest, LoadRemembersTheCursorBeforeTheOpenAnimation) {
  POINT cursor{};
  ASSERT_TRUE(GetCursorPos(&cursor));
  ASSERT_NE(load(), nullptr);
  ASSERT_EQ(opened_, std::vector<HWND>{dialog_});
  EXPECT_EQ(cursorAtOpen_.x, cursor.x);
  EXPECT_EQ(cursorAtOpen_.y, cursor.y);
  EXPECT_NE(shared_.ApiResult, 0);
  EXPECT_TRUE(closed_.empty());
}

TEST_F(SettingsDialogTest, ControlsSitAtTheirTwipsPlaces) {
  namespace layout = kb::settings::layout;
  ASSERT_NE(load(), nullptr);
  expectAt(dialog_, panel(), layout::kPanel);
  expectAt(dialog_, button(kb::settings::kIdCmdEtc), layout::kCmdEtc);
  expectAt(dialog_, button(kb::settings::kIdCmdSet), layout::kCmdSet);
  expectAt(dialog_, button(kb::settings::kIdCmdCan), layout::kCmdCan);
  expectAt(panel(), button(kb::settings::kIdCmdBgm), layout::kCmdBgm);
  expectAt(panel(), repeatBox(), layout::kRepeatBox);
}

TEST_F(SettingsDialogTest, ButtonsCarryTheirCaptionsAndFont) {
  ASSERT_NE(load(), nullptr);
  const std::pair<int, const char*> captions[] = {{kb::settings::kIdCmdEtc, "その他の作品"},
                                                  {kb::settings::kIdCmdSet, "設定"},
                                                  {kb::settings::kIdCmdCan, "ｷｬﾝｾﾙ"},
                                                  {kb::settings::kIdCmdBgm, "..."}};
  for (const auto& [id, caption] : captions) {
    kb::controls::Command* command = kb::controls::Command::FromWindow(button(id));
    ASSERT_NE(command, nullptr) << caption;
    EXPECT_EQ(command->Caption(), caption);
    EXPECT_EQ(command->Font().face, "ＭＳ Ｐゴシック");
    EXPECT_EQ(command->Font().points, 9.75);
    EXPECT_EQ(command->Font().charset, 128);
    EXPECT_EQ(command->Core().FaceState(), 1) << caption;  // initialised
  }
}

// What a screen reader hears of a window's client area, asked through
// oleacc as screen readers ask, and its press when `press` is set.
struct Heard {
  std::wstring name;
  long role = 0, state = 0;
};

Heard hear(HWND window, long child, bool press = false) {
  Heard heard;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
    return heard;
  VARIANT id{};
  id.vt = VT_I4;
  id.lVal = child;
  BSTR name = nullptr;
  if (object->get_accName(id, &name) == S_OK) heard.name = name;
  SysFreeString(name);
  VARIANT value{};
  if (object->get_accRole(id, &value) == S_OK) heard.role = value.lVal;
  if (object->get_accState(id, &value) == S_OK) heard.state = value.lVal;
  if (press) object->accDoDefaultAction(id);
  object->Release();
  return heard;
}

TEST_F(SettingsDialogTest, ScreenReadersHearPushButtonsAndTheKindsAsRadioButtons) {
  shared_.BgmKind = 1;
  ASSERT_NE(load(), nullptr);
  const Heard ok = hear(button(kb::settings::kIdCmdSet), CHILDID_SELF);
  EXPECT_EQ(ok.name, L"設定");
  EXPECT_EQ(ok.role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(hear(button(kb::settings::kIdCmdBgm), CHILDID_SELF).state & STATE_SYSTEM_UNAVAILABLE);
  const wchar_t* const shown[] = {L"音楽CD", L"無し", L"MP3、WAV"};
  for (long child = 1; child <= 3; ++child) {
    const Heard kind = hear(panel(), child);
    EXPECT_EQ(kind.name, shown[child - 1]);
    EXPECT_EQ(kind.role, ROLE_SYSTEM_RADIOBUTTON);
    EXPECT_EQ((kind.state & STATE_SYSTEM_CHECKED) != 0, child == 1) << child;
  }
}

// Set when the track box is handed a message while its font is deleted.
WNDPROC g_boxProc = nullptr;
bool g_sawDeletedFont = false;
LRESULT CALLBACK watchFont(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto font = reinterpret_cast<HGDIOBJ>(CallWindowProcW(g_boxProc, window, WM_GETFONT, 0, 0));
  g_sawDeletedFont |= GetObjectType(font) != OBJ_FONT;
  return CallWindowProcW(g_boxProc, window, message, wParam, lParam);
}

TEST_F(SettingsDialogTest, MovedToAMonitorOfAnotherScalingItLaysItselfOutThere) {
  ASSERT_NE(load(), nullptr);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  SetFocus(button(kb::settings::kIdCmdSet));
  g_boxProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(repeatBox(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchFont)));
  RECT before{};
  GetWindowRect(dialog_, &before);
  constexpr UINT kDpiChanged = 0x02E0;
  // Windows' suggestion lies off every screen: the window keeps its corner.
  RECT nowhere{-30000, -30000, -29000, -29500};
  SendMessageW(dialog_, kDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&nowhere));
  RECT after{}, client{};
  GetWindowRect(dialog_, &after);
  GetClientRect(dialog_, &client);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(client.right, 719);
  EXPECT_EQ(client.bottom, 378);
  const RECT ok = rectIn(dialog_, button(kb::settings::kIdCmdSet));
  EXPECT_EQ(ok.left, 480);
  EXPECT_EQ(ok.bottom - ok.top, 38);
  EXPECT_EQ(rectIn(dialog_, panel()).top,
            kb::twipsToPixels(kb::settings::layout::kPanel.rect.top, 144));
  EXPECT_EQ(rectIn(panel(), repeatBox()).left,
            kb::twipsToPixels(kb::settings::layout::kRepeatBox.rect.left, 144));
  EXPECT_FALSE(g_sawDeletedFont) << "the track box was handed a message with its font deleted";
  const HDC face = kb::controls::Command::FromWindow(button(kb::settings::kIdCmdSet))->FaceImage();
  EXPECT_EQ(GetPixel(face, (ok.right - ok.left) / 2, 3), RGB(0xCE, 0xE7, 0xFF))
      << "the focused button lost its Selected face";
  SIZE scaled{};  // asked first under the second kind of awareness, which Wine 8 lacks
  EXPECT_TRUE(SendMessageW(dialog_, 0x02E4 /* WM_GETDPISCALEDSIZE */, 144,
                           reinterpret_cast<LPARAM>(&scaled)));
  RECT suggested{10, 20, 10 + scaled.cx, 20 + scaled.cy};
  SendMessageW(dialog_, kDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT onScreen{30, 40, 700, 400};
  SendMessageW(dialog_, kDpiChanged, MAKEWPARAM(0, 0), reinterpret_cast<LPARAM>(&onScreen));
  GetWindowRect(dialog_, &after);
  GetClientRect(dialog_, &client);
  EXPECT_EQ(after.left, 10) << "a suggestion is taken, but not one for an absurd resolution";
  EXPECT_EQ(client.right, 479) << "an absurd resolution counts as 96";
}

// A screen reader's press on OK and Cancel while the music file's modal
// dialog is open, then that dialog closed: all in the file dialog's loop.
HWND g_ok = nullptr;
long g_okState = 0;
void CALLBACK pressWhileBrowsing(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND fileDialog = FindWindowW(L"#32770", L"ﾌｧｲﾙを開く");
  if (fileDialog == nullptr) return;
  KillTimer(nullptr, timer);
  g_okState = hear(g_ok, CHILDID_SELF, true).state;
  hear(GetDlgItem(GetParent(g_ok), kb::settings::kIdCmdCan), CHILDID_SELF, true);
  PostMessageW(fileDialog, WM_COMMAND, IDCANCEL, 0);  // after the presses' own messages
}

TEST_F(SettingsDialogTest, AScreenReadersPressActsAfterItsCallAndNotUnderTheFileDialog) {
  shared_.BgmKind = 2;
  ASSERT_NE(load(), nullptr);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  g_ok = button(kb::settings::kIdCmdSet);
  SetTimer(nullptr, 0, 200, pressWhileBrowsing);
  click(kb::settings::kIdCmdBgm);  // back when the file dialog is closed
  kb::test::pumpPending();
  EXPECT_TRUE(g_okState & STATE_SYSTEM_UNAVAILABLE);
  ASSERT_TRUE(IsWindow(dialog_)) << "the dialog was closed under the file dialog";
  EXPECT_TRUE(writes_.empty() && closed_.empty()) << "OK or Cancel acted under the file dialog";
  hear(g_ok, CHILDID_SELF, true);
  EXPECT_TRUE(writes_.empty()) << "Click raised inside the screen reader's call";
  EXPECT_TRUE(closedByItself());
}

TEST_F(SettingsDialogTest, TrackBoxShowsTheTrackAndThirtyOneEntries) {
  shared_.BgmKind = 1;
  shared_.BgmRepeatTrack = 5;
  ASSERT_NE(load(), nullptr);
  const HWND box = repeatBox();
  EXPECT_EQ(windowText(box), L"5");
  ASSERT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 31);
  EXPECT_EQ(listEntry(box, 0), L"");
  EXPECT_EQ(listEntry(box, 1), L"1");
  EXPECT_EQ(listEntry(box, 30), L"30");
  EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & CBS_DROPDOWN);
}

TEST_F(SettingsDialogTest, TrackZeroIsEmptyAndOddTracksShowAsTheyAre) {
  shared_.BgmRepeatTrack = 0;
  ASSERT_NE(load(), nullptr);
  EXPECT_EQ(windowText(repeatBox()), L"");
  DestroyWindow(dialog_);
  shared_.BgmRepeatTrack = -32768;
  ASSERT_NE(load(), nullptr);
  EXPECT_EQ(windowText(repeatBox()), L"-32768");
}

TEST_F(SettingsDialogTest, EachKindEnablesOnlyItsControl) {
  struct Case {
    std::int16_t kind;
    bool repeatBox, browse;
  };
  for (const Case& c : {Case{0, false, false}, Case{1, true, false}, Case{2, false, true},
                        Case{7, false, false}, Case{-1, false, false}}) {
    shared_.BgmKind = c.kind;
    ASSERT_NE(load(), nullptr);
    EXPECT_EQ(IsWindowEnabled(repeatBox()) != FALSE, c.repeatBox) << c.kind;
    EXPECT_EQ(IsWindowEnabled(button(kb::settings::kIdCmdBgm)) != FALSE, c.browse) << c.kind;
    EXPECT_TRUE(IsWindowEnabled(button(kb::settings::kIdCmdSet)));
    DestroyWindow(dialog_);
  }
}

TEST_F(SettingsDialogTest, AnyButtonPressedOnAMarkOrLabelSelectsItsKind) {
  namespace layout = kb::settings::layout;
  shared_.BgmKind = 0;
  ASSERT_NE(load(), nullptr);
  pressOnPanel(WM_RBUTTONDOWN, layout::kKindLabels[2].rect);
  EXPECT_EQ(shared_.BgmKind, 2);
  EXPECT_TRUE(IsWindowEnabled(button(kb::settings::kIdCmdBgm)));
  EXPECT_FALSE(IsWindowEnabled(repeatBox()));

  pressOnPanel(WM_MBUTTONDOWN, layout::kKindMarks[1].rect);
  EXPECT_EQ(shared_.BgmKind, 1);
  EXPECT_FALSE(IsWindowEnabled(button(kb::settings::kIdCmdBgm)));
  EXPECT_TRUE(IsWindowEnabled(repeatBox()));

  pressOnPanel(WM_LBUTTONDOWN, layout::kKindLabels[0].rect);
  EXPECT_EQ(shared_.BgmKind, 0);
  EXPECT_FALSE(IsWindowEnabled(repeatBox()));

  // The heading and the file name box select nothing.
  pressOnPanel(WM_LBUTTONDOWN, layout::kHeading.rect);
  pressOnPanel(WM_LBUTTONDOWN, layout::kFileName.rect);
  EXPECT_EQ(shared_.BgmKind, 0);
}

TEST_F(SettingsDialogTest, OkWritesTheThreeKeysInOrderThenCloses) {
  shared_.BgmKind = 1;
  shared_.BgmRepeatTrack = 5;
  shared_.BgmFile = "C:\\music\\old.mp3";
  ASSERT_NE(load(), nullptr);
  pressOnPanel(WM_LBUTTONDOWN, kb::settings::layout::kKindLabels[0].rect);
  SetWindowTextW(repeatBox(), L"3.5");
  click(kb::settings::kIdCmdSet);
  ASSERT_TRUE(closedByItself());
  const std::vector<IniWrite> want{{"BGM\x8B\xE6\x95\xAA", "0"},
                                   {"BGM\xD8\xCB\xDF\xB0\xC4", "4"},
                                   {"BGM\xCC\xA7\xB2\xD9", "C:\\music\\old.mp3"}};
  EXPECT_EQ(writes_, want);
  EXPECT_EQ(shared_.BgmRepeatTrack, 4);
  EXPECT_EQ(closed_.size(), 1u);
}

TEST_F(SettingsDialogTest, OkWithAWordStoresTrackZero) {
  shared_.BgmKind = 1;
  shared_.BgmRepeatTrack = 9;
  ASSERT_NE(load(), nullptr);
  SetWindowTextW(repeatBox(), L"曲");
  click(kb::settings::kIdCmdSet);
  ASSERT_TRUE(closedByItself());
  ASSERT_EQ(writes_.size(), 3u);
  EXPECT_EQ(writes_[1].value, "0");
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxWriteNothing) {
  ASSERT_NE(load(), nullptr);
  SetWindowTextW(repeatBox(), L"12");
  click(kb::settings::kIdCmdCan);
  ASSERT_TRUE(closedByItself());
  EXPECT_TRUE(writes_.empty());
  EXPECT_EQ(closed_.size(), 1u);

  ASSERT_NE(load(), nullptr);
  SendMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(closedByItself());
  EXPECT_TRUE(writes_.empty());
  EXPECT_EQ(closed_.size(), 2u);
}

TEST_F(SettingsDialogTest, TabFollowsTheFocusOrderAndSkipsDisabledControls) {
  shared_.BgmKind = 1;
  ASSERT_NE(load(), nullptr);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  SetForegroundWindow(dialog_);
  SetFocus(panel());
  const auto tab = [this] {
    MSG message{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(kb::settings::PreTranslateSettingsMessage(dialog_, message));
    return GetFocus();
  };
  ASSERT_EQ(GetFocus(), panel());
  const HWND inBox = tab();
  EXPECT_TRUE(inBox == repeatBox() || IsChild(repeatBox(), inBox));
  EXPECT_EQ(tab(), button(kb::settings::kIdCmdSet));  // the browse button is disabled
  EXPECT_EQ(tab(), button(kb::settings::kIdCmdCan));
  EXPECT_EQ(tab(), button(kb::settings::kIdCmdEtc));
  EXPECT_EQ(tab(), panel());

  pressOnPanel(WM_LBUTTONDOWN, kb::settings::layout::kKindMarks[2].rect);
  EXPECT_EQ(tab(), button(kb::settings::kIdCmdBgm));  // the track box is disabled now
  EXPECT_EQ(tab(), button(kb::settings::kIdCmdSet));

  // Enter on a focused button is the button's own: it presses it.
  MSG other{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_FALSE(kb::settings::PreTranslateSettingsMessage(dialog_, other));
}

TEST_F(SettingsDialogTest, LongAndBrokenFileNamesShowAndSaveUnchanged) {
  shared_.BgmKind = 2;
  shared_.BgmFile = "C:\\" + std::string(248, 'a') + ".mp3";  // 255 characters
  ASSERT_NE(load(), nullptr);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  UpdateWindow(dialog_);
  click(kb::settings::kIdCmdSet);
  ASSERT_TRUE(closedByItself());
  ASSERT_EQ(writes_.size(), 3u);
  EXPECT_EQ(writes_[2].value, shared_.BgmFile);

  writes_.clear();
  shared_.BgmFile = "C:\\\x82";  // a lead byte with nothing after it
  ASSERT_NE(load(), nullptr);
  ShowWindow(dialog_, SW_SHOWNORMAL);
  UpdateWindow(dialog_);
  click(kb::settings::kIdCmdSet);
  ASSERT_TRUE(closedByItself());
  ASSERT_EQ(writes_.size(), 3u);
  EXPECT_EQ(writes_[2].value, "C:\\\x82");
}

}  // namespace
