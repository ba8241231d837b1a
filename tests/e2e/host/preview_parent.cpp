// Test helper: stands in for the display settings' preview window. It opens a
// white 200 x 150 borderless window at (100, 100), prints "hwnd <number>",
// and then obeys lines on its standard input:
//   destroy        destroys the window, prints "destroyed"
//   close <title>  posts WM_CLOSE to the top-level window with that title,
//                  prints "closed 1" (found) or "closed 0"
//   box <title>    describes the message box with that title:
//                  "box <text>|<buttons, comma-separated>|<icon 0/1>"
//   ping <title>   waits (up to 60 s) until the thread of the top-level
//                  window with that title handles messages; prints
//                  "ping 1", or "ping 0" when there is no such window or it
//                  did not answer
//   children       describes the window's child windows, one line each:
//                  "child <class>|<title>|<left>,<top>,<width>,<height>|<visible 0/1>|
//                  <child by Windows' rules 0/1>", then "children end"
//   hold <path>    opens the file for reading, sharing reading and writing
//                  but not deleting (as a virus scanner does), until
//                  "release"; prints "held 1" or "held 0"
//   release        closes every held file, prints "released"
//   start <application>|<command line>
//                  CreateProcess with exactly that command line; prints
//                  "started 1" or "started 0"
//   wait <ms>      waits up to <ms> for the started program to end; prints
//                  "exit <code>", or "exit running"
//   foreground     prints "foreground <title>" of the foreground window
//   mode <w> <h>   changes the display's resolution (ChangeDisplaySettingsEx);
//                  prints "mode <result>", 0 when it was changed
//   burst <title>  sends the window with that title the messages of one display
//                  change (new mode, work area, DPI); prints "burst 1" or "burst 0"
//   covers         describes the renderer's monitor covers, one line each:
//                  "cover <hwnd>|<left>,<top>,<right>,<bottom>", then "covers end"
//   quit           ends the helper
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/windows/win32_test_support.h"

namespace {

constexpr UINT kDestroyRequest = WM_APP + 1;
HWND theWindow = nullptr;
DWORD mainThread = 0;

void reply(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

std::string utf8(const wchar_t* text) {
  char buffer[1024] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

std::string controlText(HWND control) {
  wchar_t text[512] = {};
  GetWindowTextW(control, text, 512);
  return utf8(text);
}

BOOL CALLBACK addButton(HWND child, LPARAM list) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Button") == 0) {
    auto& names = *reinterpret_cast<std::string*>(list);
    names += (names.empty() ? "" : ",") + controlText(child);
  }
  return TRUE;
}

// The message box's text, its buttons (a box keeps only the ones it shows)
// and whether it holds an icon.
std::string describeBox(const char* title) {
  const HWND box = FindWindowA(nullptr, title);
  if (!box) return "box none";
  constexpr int kTextId = 0xFFFF, kIconId = 1088;
  std::string buttons;
  EnumChildWindows(box, addButton, reinterpret_cast<LPARAM>(&buttons));
  const HWND icon = GetDlgItem(box, kIconId);
  return "box " + controlText(GetDlgItem(box, kTextId)) + "|" + buttons + "|" +
         (icon && SendMessageA(icon, STM_GETICON, 0, 0) ? "1" : "0");
}

// A child as Windows counts one: WS_CHILD without WS_POPUP, and GetParent
// (which Wine answers as Windows does, unlike its IsChild) names the window.
bool isTrueChild(HWND child) {
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  return (style & (WS_CHILD | WS_POPUP)) == WS_CHILD && GetParent(child) == theWindow;
}

std::vector<HANDLE> heldFiles;
HANDLE started = nullptr;

std::string hold(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "held 0";
  heldFiles.push_back(file);
  return "held 1";
}

std::string release() {
  for (const HANDLE file : heldFiles) CloseHandle(file);
  heldFiles.clear();
  return "released";
}

std::string startProgram(const char* request) {
  const char* bar = std::strchr(request, '|');
  if (!bar) return "started 0";
  const std::string application(request, bar);
  std::string commandLine(bar + 1);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return "started 0";
  CloseHandle(process.hThread);
  started = process.hProcess;
  return "started 1";
}

std::string waitForStarted(const char* milliseconds) {
  if (!started || WaitForSingleObject(started, std::strtoul(milliseconds, nullptr, 10)) != 0)
    return "exit running";
  DWORD code = 0;
  GetExitCodeProcess(started, &code);
  return "exit " + std::to_string(code);
}

BOOL CALLBACK describeChild(HWND child, LPARAM) {
  char className[64] = {}, title[256] = {};
  GetClassNameA(child, className, sizeof className);
  GetWindowTextA(child, title, sizeof title);
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, theWindow, reinterpret_cast<POINT*>(&rect), 2);
  reply(std::string("child ") + className + "|" + title + "|" + std::to_string(rect.left) + "," +
        std::to_string(rect.top) + "," + std::to_string(rect.right - rect.left) + "," +
        std::to_string(rect.bottom - rect.top) + "|" + (IsWindowVisible(child) ? "1" : "0") + "|" +
        (isTrueChild(child) ? "1" : "0"));
  return TRUE;
}

std::string sendDisplayBurst(const char* title) {
  const HWND target = FindWindowA(nullptr, title);
  constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1
  const std::pair<UINT, WPARAM> burst[] = {
      {WM_DISPLAYCHANGE, 32}, {WM_SETTINGCHANGE, SPI_SETWORKAREA}, {kDpiChanged, 0x00600060}};
  DWORD_PTR result = 0;
  for (const auto& [message, wParam] : burst)
    if (!target || !SendMessageTimeoutA(target, message, wParam, 0, SMTO_NORMAL, 10000, &result))
      return "burst 0";
  return "burst 1";
}

BOOL CALLBACK describeCover(HWND window, LPARAM) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  RECT r{};
  if (std::strcmp(className, "Kolvane_Brightrun_Cover") != 0 || !GetWindowRect(window, &r))
    return TRUE;
  reply("cover " + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + "|" +
        std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
        std::to_string(r.bottom));
  return TRUE;
}

DWORD WINAPI readCommands(void*) {
  char line[512];
  while (std::fgets(line, sizeof line, stdin)) {
    line[std::strcspn(line, "\r\n")] = '\0';
    if (std::strcmp(line, "destroy") == 0) {
      PostThreadMessageA(mainThread, kDestroyRequest, 0, 0);
    } else if (std::strncmp(line, "close ", 6) == 0) {
      const HWND target = FindWindowA(nullptr, line + 6);
      if (target) PostMessageA(target, WM_CLOSE, 0, 0);
      reply(target ? "closed 1" : "closed 0");
    } else if (std::strncmp(line, "box ", 4) == 0) {
      reply(describeBox(line + 4));
    } else if (std::strncmp(line, "ping ", 5) == 0) {
      const HWND target = FindWindowA(nullptr, line + 5);
      DWORD_PTR result = 0;
      const bool answered =
          target && SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
      reply(answered ? "ping 1" : "ping 0");
    } else if (std::strcmp(line, "children") == 0) {
      EnumChildWindows(theWindow, describeChild, 0);
      reply("children end");
    } else if (std::strncmp(line, "hold ", 5) == 0) {
      reply(hold(line + 5));
    } else if (std::strcmp(line, "release") == 0) {
      reply(release());
    } else if (std::strncmp(line, "start ", 6) == 0) {
      reply(startProgram(line + 6));
    } else if (std::strncmp(line, "wait ", 5) == 0) {
      reply(waitForStarted(line + 5));
    } else if (std::strcmp(line, "activate") == 0) {
      reply(SetForegroundWindow(theWindow) ? "activated 1" : "activated 0");
    } else if (std::strcmp(line, "foreground") == 0) {
      char title[256] = {};
      if (const HWND active = GetForegroundWindow()) GetWindowTextA(active, title, sizeof title);
      reply(std::string("foreground ") + title);
    } else if (std::strncmp(line, "mode ", 5) == 0) {
      DEVMODEA mode{};
      mode.dmSize = sizeof mode;
      mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
      std::sscanf(line + 5, "%lu %lu", &mode.dmPelsWidth, &mode.dmPelsHeight);
      reply("mode " +
            std::to_string(ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr)));
    } else if (std::strncmp(line, "burst ", 6) == 0) {
      reply(sendDisplayBurst(line + 6));
    } else if (std::strcmp(line, "covers") == 0) {
      EnumWindows(describeCover, 0);
      reply("covers end");
    } else if (std::strcmp(line, "exit") == 0) {
      ExitProcess(0);  // as a host ended from outside: its window is never destroyed
    } else if (std::strcmp(line, "quit") == 0) {
      break;
    }
  }
  PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  return 0;
}

}  // namespace

int main() {
  mainThread = GetCurrentThreadId();
  theWindow =
      kb::test::makeWhiteWindow("kb_preview_parent", "kb_preview_parent", 100, 100, 200, 150);
  if (!theWindow) return 1;
  // Make sure the message queue exists before the reader may post to it.
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  reply("hwnd " + std::to_string(reinterpret_cast<std::uintptr_t>(theWindow)));
  CreateThread(nullptr, 0, readCommands, nullptr, 0, nullptr);
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kDestroyRequest) {
      DestroyWindow(theWindow);
      reply("destroyed");
      continue;
    }
    DispatchMessageA(&message);
  }
  return 0;
}
