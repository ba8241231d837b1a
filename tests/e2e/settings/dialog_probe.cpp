// Reports what the running settings dialog shows that its pixels cannot say
// for sure: the track box text, which controls are enabled, where the focus
// is and where the close box lies. One "name=value" line each, UTF-8.
//
// With --hold it instead keeps the Wine session of a test alive: it makes a
// hidden window (so Wine's desktop process is up), reports "ready=1" (or
// "ready=0" when no window could be made) and waits for its input to close.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "common/win32_text.h"
#include "settings/win32_settings_dialog.h"

namespace {

const char* focusName(HWND dialog, HWND panel, HWND focus) {
  if (focus == nullptr) return "none";
  if (focus == panel) return "panel";
  const HWND box = GetDlgItem(panel, kb::settings::kIdRepeatBox);
  if (focus == box || IsChild(box, focus)) return "repeat";
  if (focus == GetDlgItem(panel, kb::settings::kIdCmdBgm)) return "bgm";
  if (focus == GetDlgItem(dialog, kb::settings::kIdCmdSet)) return "set";
  if (focus == GetDlgItem(dialog, kb::settings::kIdCmdCan)) return "can";
  if (focus == GetDlgItem(dialog, kb::settings::kIdCmdEtc)) return "etc";
  return "other";
}

}  // namespace

// Keeps the prefix's server and desktop running between the test's programs.
int hold() {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  std::printf("ready=%d\n", window != nullptr ? 1 : 0);
  std::fflush(stdout);
  if (window == nullptr) return 1;
  while (std::getchar() != EOF) {
  }
  DestroyWindow(window);
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--hold") return hold();
  const HWND dialog = FindWindowA(nullptr, "<Kolvane_Brightrun>");
  if (dialog == nullptr) {
    std::printf("found=0\n");
    return 1;
  }
  const HWND panel = GetDlgItem(dialog, kb::settings::kIdPanel);
  const HWND box = GetDlgItem(panel, kb::settings::kIdRepeatBox);
  wchar_t text[256] = {};
  // WM_GETTEXT reaches across processes; GetWindowText would not.
  SendMessageW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
  // The close box is the last caption button: inside the frame at the top
  // right, one caption button in size.
  RECT outer{};
  GetWindowRect(dialog, &outer);
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  const LONG frame = client.x - outer.left;
  const RECT close{outer.right - frame - GetSystemMetrics(SM_CXSIZE), outer.top + frame,
                   outer.right - frame, outer.top + frame + GetSystemMetrics(SM_CYSIZE)};

  std::printf("found=1\n");
  std::printf("repeat_text=%s\n", kb::narrowUtf8(text).c_str());
  std::printf("repeat_enabled=%d\n", IsWindowEnabled(box) ? 1 : 0);
  std::printf("browse_enabled=%d\n",
              IsWindowEnabled(GetDlgItem(panel, kb::settings::kIdCmdBgm)) ? 1 : 0);
  std::printf("focus=%s\n", focusName(dialog, panel, thread.hwndFocus));
  std::printf("close_box=%ld,%ld,%ld,%ld\n", close.left, close.top, close.right, close.bottom);
  RECT area{};
  GetClientRect(dialog, &area);
  std::printf("client=%ld,%ld\n", area.right, area.bottom);
  const std::pair<const char*, HWND> buttons[] = {
      {"etc", GetDlgItem(dialog, kb::settings::kIdCmdEtc)},
      {"set", GetDlgItem(dialog, kb::settings::kIdCmdSet)},
      {"can", GetDlgItem(dialog, kb::settings::kIdCmdCan)},
      {"bgm", GetDlgItem(panel, kb::settings::kIdCmdBgm)}};
  for (const auto& [name, button] : buttons) {  // on the screen
    GetWindowRect(button, &area);
    std::printf("button_%s=%ld,%ld,%ld,%ld\n", name, area.left, area.top, area.right, area.bottom);
  }
  return 0;
}
