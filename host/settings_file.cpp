#include "host/settings_file.h"

#include <vector>

#include "common/number_text.h"

namespace kb {

namespace {

constexpr std::int16_t kKindMusicFile = 2;

// The name cut to the 127 characters its fixed buffer holds.
std::string fittedName(const std::string& name) {
  return name.substr(0, kIniNameBufferSize - 1);
}

// A number setting: empty gives 0, a non-number leaves it unchanged.
void loadNumber(ProfilePort& port, const std::string& file, const char* key,
                std::int16_t& setting) {
  const std::string text = ReadIniValue(port, kSettingsSection, key, file);
  if (text.empty()) {
    setting = 0;
    return;
  }
  if (const auto number = settingNumber(text)) setting = *number;
}

}  // namespace

std::string settingsFilePath(const std::string& programFolder) {
  return programFolder + "\\Kolvane_Brightrun.ini";
}

std::string rendererFilePath(const std::string& programFolder) {
  return programFolder + "\\Kolvane_Brightrun.data";
}

std::string ReadIniValue(ProfilePort& port, const std::string& section, const std::string& key,
                         const std::string& file) {
  std::vector<char> buffer(kIniValueBufferSize, '\0');
  port.readString(section.c_str(), key.c_str(), buffer.data(), buffer.size(), file.c_str());
  buffer.back() = '\0';  // whatever the port did, the text ends inside the buffer
  return std::string(buffer.data());
}

void WriteIniValue(ProfilePort& port, SharedState& shared, const std::string& section,
                   const std::string& key, const std::string& value, const std::string& file) {
  shared.ApiResult = port.writeString(fittedName(section).c_str(), fittedName(key).c_str(),
                                      value.c_str(), file.c_str());
}

bool FileExists(ProfilePort& port, std::string path) {
  const auto characters = ansiCharacters(path, port.leadByteTest());
  if (!characters.empty() && characters.back() == "\\") path.pop_back();
  return !path.empty() && port.canOpenForReading(path);
}

void LoadSettings(ProfilePort& port, SharedState& shared, const std::string& programFolder) {
  const std::string file = settingsFilePath(programFolder);
  loadNumber(port, file, kKeyBgmKind, shared.BgmKind);
  loadNumber(port, file, kKeyBgmRepeatTrack, shared.BgmRepeatTrack);
  shared.BgmFile = ReadIniValue(port, kSettingsSection, kKeyBgmFile, file);
  if (!shared.BgmFile.empty() && !FileExists(port, shared.BgmFile)) shared.BgmFile.clear();
  if (shared.BgmFile.empty() && shared.BgmKind == kKindMusicFile) shared.BgmKind = 0;
}

}  // namespace kb
