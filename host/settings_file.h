// The settings file "Kolvane_Brightrun.ini" beside the program and the small
// shared routines around it: reading and writing one key, loading the music
// settings at start-up, and testing whether a file can be opened.
//
// The routines work over a ProfilePort so that the rules can be tested with
// real INI files natively; win32_profile.h gives the port over the Windows
// ANSI profile functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/ansi_text.h"
#include "common/settings_keys.h"
#include "common/shared_state.h"

namespace kb {

// Characters of ReadIniValue's buffer (the value is cut to one less) and of
// WriteIniValue's section and key buffers.
constexpr std::size_t kIniValueBufferSize = 256;
constexpr std::size_t kIniNameBufferSize = 128;

// The platform calls behind the routines.
class ProfilePort {
 public:
  virtual ~ProfilePort() = default;
  // GetPrivateProfileStringA(section, key, "", buffer, size, file).
  virtual void readString(const char* section, const char* key, char* buffer, std::size_t size,
                          const char* file) = 0;
  // WritePrivateProfileStringA(section, key, value, file): non-zero on success.
  virtual std::int32_t writeString(const char* section, const char* key, const char* value,
                                   const char* file) = 0;
  // Whether the path names a file (not a folder) that can be opened for reading.
  virtual bool canOpenForReading(const std::string& path) = 0;
  // IsDBCSLeadByte of the ANSI code page the paths are spelled in.
  virtual LeadByteTest leadByteTest() = 0;
};

// The program folder followed by "\Kolvane_Brightrun.ini" / "\Kolvane_Brightrun.data".
std::string settingsFilePath(const std::string& programFolder);
std::string rendererFilePath(const std::string& programFolder);

// One value of the settings file, at most 255 characters; empty when the file,
// section or key is missing.
std::string ReadIniValue(ProfilePort& port, const std::string& section, const std::string& key,
                         const std::string& file);

// Writes one value; the result of the system call goes to ApiResult, and a
// failure is not reported otherwise. Section and key are cut to 127 characters.
void WriteIniValue(ProfilePort& port, SharedState& shared, const std::string& section,
                   const std::string& key, const std::string& value, const std::string& file);

// True when the path names a file that can be opened for reading. One
// trailing backslash character is dropped first, so "C:\Windows\" tests the
// folder C:\Windows, and a folder gives false. A double-byte character whose
// second byte is 0x5C (such as Shift-JIS "ソ") is no backslash.
bool FileExists(ProfilePort& port, std::string path);

// Fills BgmKind, BgmRepeatTrack and BgmFile from the settings file in the
// program folder. Numbers are read by settingNumber (number_text.h); a text
// that is not a number leaves the setting as it was. A music file that cannot
// be opened is forgotten, and kind 2 (music file) then becomes 0.
void LoadSettings(ProfilePort& port, SharedState& shared, const std::string& programFolder);

}  // namespace kb
