#include "host/win32_show_form.h"

#include <windows.h>

#include <string>

#include "common/win32_text.h"
#include "host/settings_file.h"
#include "host/show.h"
#include "host/win32_pictures.h"
#include "host/win32_profile.h"
#include "music/bgm.h"
#include "music/win32_music_port.h"

namespace kb {
namespace {

constexpr char kClassName[] = "Q_Tavel_S";
constexpr char kCaption[] = "Q_Tavel_Main";

template <typename StartupInfo>
StartupInfo shownNormally() {
  StartupInfo startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  return startup;
}

// Defined below, with the window procedure that needs the form.
HWND createHiddenWindow();

class Win32ShowPort final : public ShowPort {
 public:
  // `form` is what the window's messages go to, kept in its user data.
  explicit Win32ShowPort(void* form) : form_(form) {}

  bool writeSlideFile(int index) override { return kb::writeSlideFile(index); }

  void startRenderer() override {
    // NOTE: the command line is the bare, unquoted path, as the renderer has
    // always been started; naming the program file as well keeps Windows
    // from trying the pieces of a path with blanks ("C:\Program.exe").
    // A folder with no ANSI spelling starts it through the Unicode call.
    const ProgramFolder& folder = programFolder();
    PROCESS_INFORMATION process{};
    bool started = false;
    if (!folder.ansi.empty()) {
      const std::string path = rendererFilePath(folder.ansi);
      std::string commandLine = path;
      STARTUPINFOA startup = shownNormally<STARTUPINFOA>();
      started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process);
    } else {
      const std::wstring path = widen(rendererFilePath(folder.unicode));
      std::wstring commandLine = path;
      STARTUPINFOW startup = shownNormally<STARTUPINFOW>();
      started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process);
    }
    if (started) {
      // NOTE: Windows gives the foreground only to a process that may take
      // it; this program may, having been started by the user's action or
      // the system, and passes that on to the renderer.
      AllowSetForegroundWindow(process.dwProcessId);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }

  void createWindow() override {
    window_ = createHiddenWindow();
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form_));
  }

  bool cursorPosition(int& x, int& y) override {
    POINT point{};
    if (!GetCursorPos(&point)) return false;
    x = point.x;
    y = point.y;
    return true;
  }

  void setTimer(ShowTimer timer, bool on) override {
    const auto id = static_cast<UINT_PTR>(timer);
    if (on) {
      SetTimer(window_, id, showTimerInterval(timer), nullptr);
    } else {
      KillTimer(window_, id);
    }
    timerOn_[static_cast<int>(timer)] = on;
  }

  bool timerOn(ShowTimer timer) override { return timerOn_[static_cast<int>(timer)]; }

  std::int32_t showCursor(std::int32_t flag) override { return ShowCursor(flag != 0); }

  void endProgram() override { ExitProcess(0); }

 private:
  void* form_;
  HWND window_ = nullptr;
  bool timerOn_[4] = {};
};

// The one show of the process.
struct ShowForm {
  ShowForm(SharedState& shared, char modeLetter)
      : port(this),
        music(music::win32MusicPort(), shared),
        show(port, music, shared, modeLetter, isAnsiLeadByte) {}
  Win32ShowPort port;
  music::Bgm music;
  Show show;
};

// The form a window's messages go to, kept in its user data.
ShowForm* formOf(HWND window) {
  return reinterpret_cast<ShowForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void onTimer(Show& show, WPARAM id) {
  switch (static_cast<ShowTimer>(id)) {
    case ShowTimer::Mp3Watch:
      show.Mp3WatchTick();
      break;
    case ShowTimer::CdWatch:
      show.CdWatchTick();
      break;
    case ShowTimer::MouseWatch:
      show.MouseWatchTick();
      break;
  }
}

LRESULT CALLBACK showWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (ShowForm* form = formOf(window)) {
    switch (message) {
      case WM_TIMER:
        onTimer(form->show, wParam);
        return 0;
      case WM_CLOSE:  // an unload request from outside: the same stop sequence
        form->show.QueryUnload();
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete form;
        break;
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND createHiddenWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = showWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  // A top-level window (never shown), so that FindWindowA finds the show.
  return CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, windowClass.hInstance,
                         nullptr);
}

}  // namespace

void loadShowForm(SharedState& shared, char modeLetter) {
  // Owned by its window once that exists (freed with it); the program
  // usually ends first.
  auto* form = new ShowForm(shared, modeLetter);
  form->show.FormLoad();
}

}  // namespace kb
