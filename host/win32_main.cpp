// Entry of the screensaver program: Main over the Win32 start-up calls, then
// the message loop of the form it left loaded.
#include <windows.h>

#include <string>
#include <vector>

#include "common/win32_system_dlls.h"
#include "common/win32_text.h"
#include "host/command_line.h"
#include "host/settings_file.h"
#include "host/start.h"
#include "host/win32_animate.h"
#include "host/win32_preview_form.h"
#include "host/win32_profile.h"
#include "host/win32_show_claim.h"
#include "host/win32_show_form.h"
#include "settings/win32_settings_dialog.h"

namespace kb {
namespace {

// The program's one message (UTF-8 here, shown through the Unicode call).
constexpr char kMissingRendererText[] = "Kolvane_Brightrun.dataが同じﾌｫﾙﾀﾞに見つかりません！";
constexpr char kApplicationTitle[] = "Kolvane_Brightrun(ScreenSaver)";

// The settings dialog, modal and without an owner from the caller; it saves
// through WriteIniValue into the settings file beside the program.
void runSettingsDialog(SharedState& shared) {
  settings::DialogHost host;
  host.writeSetting = [&shared, file = settingsFile()](const settings::IniWrite& write) {
    if (!file.empty())
      WriteIniValue(win32ProfilePort(), shared, kSettingsSection, write.key, write.value, file);
  };
  host.animateOpen = [&shared](HWND window) { AnimateOpen(window, shared); };
  host.animateClose = [&shared](HWND window) { AnimateClose(window, shared); };
  settings::RunSettingsDialog(GetModuleHandleW(nullptr), shared, host);
}

class Win32StartPort final : public StartPort {
 public:
  Win32StartPort(SharedState& shared, char modeLetter) : shared_(shared), modeLetter_(modeLetter) {}

  bool windowExists(const char* title) override { return FindWindowA(nullptr, title) != nullptr; }
  bool showClaimed() override { return showClaimedElsewhere(); }
  bool claimShow() override { return claimShowForProcess(); }
  void loadSettings() override {
    // A folder with no ANSI spelling has no settings file the profile
    // functions can read: the settings stay as at start, with no music.
    const std::string folder = programFolder().ansi;
    if (!folder.empty()) LoadSettings(win32ProfilePort(), shared_, folder);
  }
  bool rendererFileExists() override { return kb::rendererFileExists(); }
  void showMissingRendererBox() override {
    // Through the Unicode call, so the Japanese text reads right on any code page.
    MessageBoxW(nullptr, kb::widen(kMissingRendererText).c_str(),
                kb::widen(kApplicationTitle).c_str(), MB_OK);
  }
  void runPreview(std::int32_t parentHandle) override {
    previewHost_ = runPreviewSetup(shared_, parentHandle);
  }
  void runSettingsDialog() override { kb::runSettingsDialog(shared_); }
  // The preview's host process, or null (see runPreviewSetup).
  HANDLE previewHost() const { return previewHost_; }
  void loadShowForm() override { kb::loadShowForm(shared_, modeLetter_); }

 private:
  SharedState& shared_;
  char modeLetter_;
  HANDLE previewHost_ = nullptr;
};

// The program's own path in the ANSI code page, long and short: the forms
// Windows may put unquoted at the start of the command line.
std::vector<std::string> ownProgramPaths() {
  std::vector<std::string> paths;
  std::string path(MAX_PATH, '\0');
  DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  while (length == path.size()) {  // cut: grow until the whole path fits
    path.resize(path.size() * 2);
    length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  }
  if (length == 0) return paths;
  path.resize(length);
  paths.push_back(path);
  std::string shortPath(MAX_PATH, '\0');
  length = GetShortPathNameA(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length > shortPath.size()) {
    shortPath.resize(length);
    length = GetShortPathNameA(path.c_str(), shortPath.data(), length);
  }
  if (length > 0 && length < shortPath.size()) paths.push_back(shortPath.substr(0, length));
  return paths;
}

// The loop of the form Main left loaded; it also ends, with the program,
// when `endsWith` (a process handle, or null) ends. No timer is involved.
int runMessageLoop(HANDLE endsWith) {
  for (;;) {
    if (endsWith != nullptr &&
        MsgWaitForMultipleObjects(1, &endsWith, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0)
      return 0;
    MSG message;
    // Every waiting message, since the wait reports only those that came new.
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return 0;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (endsWith == nullptr) WaitMessage();
  }
}

}  // namespace
}  // namespace kb

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kb::restrictDllSearchToSystemFolder();
  static kb::SharedState shared;
  const char* const commandLine = GetCommandLineA();
  // Only an unquoted program name can be the program's own path with blanks:
  // a quoted one costs no look at the file system.
  const std::vector<std::string> ownPaths =
      commandLine[0] == '"' ? std::vector<std::string>() : kb::ownProgramPaths();
  const std::string arguments = kb::argumentText(commandLine, ownPaths, kb::isAnsiLeadByte);
  kb::Win32StartPort port(shared, kb::modeLetter(arguments, kb::isAnsiLeadByte));
  if (kb::Main(port, arguments, kb::isAnsiLeadByte) == kb::MainOutcome::End) return 0;
  return kb::runMessageLoop(port.previewHost());
}
