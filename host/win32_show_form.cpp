#include "host/win32_show_form.h"

#include <windows.h>

#include <memory>
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

class Win32ShowPort final : public ShowPort {
 public:
  explicit Win32ShowPort(HWND window) : window_(window) {}

  bool writeSlideFile(int index) override { return kb::writeSlideFile(index); }

  void startRenderer() override {
    // NOTE: the command line is the bare, unquoted path, as the renderer has
    // always been started; naming the program file as well keeps Windows
    // from trying the pieces of a path with blanks ("C:\Program.exe").
    // A folder with no ANSI spelling starts it through the Unicode call.
    const ProgramFolder folder = programFolder();
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
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
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
  HWND window_;
  bool timerOn_[4] = {};
};

// The music module as the show sees it.
class BgmShowMusic final : public ShowMusic {
 public:
  explicit BgmShowMusic(SharedState& shared) : bgm_(music::win32MusicPort(), shared) {}
  void CdOpen() override { bgm_.CdOpen(); }
  void CdWatch() override { bgm_.CdWatch(); }
  void CdClose() override { bgm_.CdClose(); }
  bool CdWatchActive() override { return bgm_.CdWatchActive(); }
  void Mp3Start() override { bgm_.Mp3Start(); }
  void Mp3Watch() override { bgm_.Mp3Watch(); }
  void Mp3Stop() override { bgm_.Mp3Stop(); }
  void WavStart() override { bgm_.WavStart(); }
  void WavStop() override { bgm_.WavStop(); }

 private:
  music::Bgm bgm_;
};

// The one show of the process.
struct ShowForm {
  ShowForm(HWND window, SharedState& shared, char modeLetter)
      : port(window), music(shared), show(port, music, shared, modeLetter, isAnsiLeadByte) {}
  Win32ShowPort port;
  BgmShowMusic music;
  Show show;
};
std::unique_ptr<ShowForm> theShow;

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
  if (theShow) {
    switch (message) {
      case WM_TIMER:
        onTimer(theShow->show, wParam);
        return 0;
      case WM_CLOSE:  // an unload request from outside: the same stop sequence
        theShow->show.QueryUnload();
        return 0;
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
  const HWND window = createHiddenWindow();
  theShow = std::make_unique<ShowForm>(window, shared, modeLetter);
  // The mouse watch runs from the moment the form exists.
  theShow->port.setTimer(ShowTimer::MouseWatch, true);
  theShow->show.FormLoad();
}

}  // namespace kb
