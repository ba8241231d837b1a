#include "host/win32_profile.h"

#include <windows.h>

#include <vector>

#include "common/win32_text.h"

namespace kb {
namespace {

// Whether CreateFile opened the file for reading; closes it again.
bool openedForReading(HANDLE file) {
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

class Win32ProfilePort final : public ProfilePort {
 public:
  void readString(const char* section, const char* key, char* buffer, std::size_t size,
                  const char* file) override {
    GetPrivateProfileStringA(section, key, "", buffer, static_cast<DWORD>(size), file);
  }

  std::int32_t writeString(const char* section, const char* key, const char* value,
                           const char* file) override {
    return WritePrivateProfileStringA(section, key, value, file);
  }

  bool canOpenForReading(const std::string& path) override {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, so a
    // folder gives false; others may read and write the file meanwhile.
    return openedForReading(CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  LeadByteTest leadByteTest() override { return isAnsiLeadByte; }
};

}  // namespace

ProfilePort& win32ProfilePort() {
  static Win32ProfilePort port;
  return port;
}

namespace {

ProgramFolder askForProgramFolder() {
  // Long paths are possible: grow the buffer until the name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return programFolderOf(
          narrowUtf8(path), [](const std::string& folder) { return ansiSpellings(widen(folder)); });
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

const ProgramFolder& programFolder() {
  // The program does not move while it runs: Windows is asked once.
  static const ProgramFolder folder = askForProgramFolder();
  return folder;
}

std::string settingsFile() {
  const std::string folder = programFolder().ansi;
  return folder.empty() ? std::string() : settingsFilePath(folder);
}

bool rendererFileExists() {
  const ProgramFolder& folder = programFolder();
  if (!folder.ansi.empty()) return FileExists(win32ProfilePort(), rendererFilePath(folder.ansi));
  return openedForReading(CreateFileW(widen(rendererFilePath(folder.unicode)).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace kb
