#include "host/win32_profile.h"

#include <windows.h>

#include <vector>

namespace kb {
namespace {

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
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  }
};

}  // namespace

ProfilePort& win32ProfilePort() {
  static Win32ProfilePort port;
  return port;
}

std::string programFolder() {
  // Long paths are possible: grow the buffer until the name fits.
  std::vector<char> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) {
      std::string path(name.data(), length);
      const std::size_t slash = path.find_last_of('\\');
      if (slash == std::string::npos) return std::string();
      const bool driveRoot = slash == 2 && path[1] == ':';
      return path.substr(0, driveRoot ? slash + 1 : slash);
    }
    name.resize(name.size() * 2);
  }
}

}  // namespace kb
