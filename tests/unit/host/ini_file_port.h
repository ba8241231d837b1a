// A ProfilePort over real INI files on the native file system, for testing
// the settings rules with the files a user could have. It reads the way
// GetPrivateProfileStringA does: names compared without regard to ASCII case,
// blanks around names and values dropped, one pair of enclosing quotes
// dropped, the value cut to the buffer. Backslashes in paths become slashes.
#pragma once

#include <string>
#include <vector>

#include "host/settings_file.h"

namespace kb::test {

class IniFilePort final : public ProfilePort {
 public:
  void readString(const char* section, const char* key, char* buffer, std::size_t size,
                  const char* file) override;
  std::int32_t writeString(const char* section, const char* key, const char* value,
                           const char* file) override;
  bool canOpenForReading(const std::string& path) override;
  LeadByteTest leadByteTest() override { return isLeadByte; }

  // The ANSI code page's lead bytes; single-byte unless a test says otherwise.
  LeadByteTest isLeadByte = [](unsigned char) { return false; };
  // Every (section, key) pair written, in order.
  std::vector<std::string> writes;
};

// The native path of a Windows-style path made by the code under test: each
// backslash character becomes a slash, the second byte of a double-byte
// character stays.
std::string nativePath(
    const std::string& windowsPath, LeadByteTest isLeadByte = [](unsigned char) { return false; });

}  // namespace kb::test
