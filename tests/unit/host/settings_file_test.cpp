// LoadSettings and the shared routines against real INI files on disk.
#include "host/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "ini_file_port.h"
#include "tests/unit/code_pages.h"

namespace kb {
namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kb_settings_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

  // Writes the settings file with the three keys (a missing one when null).
  void writeSettings(const char* kind, const char* repeat, const char* file) {
    std::ofstream out(folder_ + "/Kolvane_Brightrun.ini", std::ios::binary);
    out << "[Section]\r\n";
    if (kind) out << kKeyBgmKind << "=" << kind << "\r\n";
    if (repeat) out << kKeyBgmRepeatTrack << "=" << repeat << "\r\n";
    if (file) out << kKeyBgmFile << "=" << file << "\r\n";
  }
  std::string makeFile(const std::string& name) {
    std::ofstream(folder_ + "/" + name) << "RIFF";
    return folder_ + "/" + name;
  }
  SharedState load() {
    SharedState shared;
    LoadSettings(port_, shared, folder_);
    return shared;
  }

  std::string folder_;
  test::IniFilePort port_;
};

TEST_F(SettingsFileTest, KeysAreTheShiftJisBytes) {
  EXPECT_EQ(std::string(kKeyBgmKind), "\x42\x47\x4D\x8B\xE6\x95\xAA");
  EXPECT_EQ(std::string(kKeyBgmRepeatTrack), "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4");
  EXPECT_EQ(std::string(kKeyBgmFile), "\x42\x47\x4D\xCC\xA7\xB2\xD9");
  EXPECT_EQ(settingsFilePath("C:\\Games"), "C:\\Games\\Kolvane_Brightrun.ini");
  EXPECT_EQ(rendererFilePath("C:\\"), "C:\\\\Kolvane_Brightrun.data");
}

TEST_F(SettingsFileTest, MissingOrEmptyFileGivesNoMusic) {
  SharedState shared = load();
  EXPECT_EQ(shared.BgmKind, 0);
  EXPECT_EQ(shared.BgmRepeatTrack, 0);
  EXPECT_EQ(shared.BgmFile, "");
  std::ofstream(folder_ + "/Kolvane_Brightrun.ini").close();
  shared = load();
  EXPECT_EQ(shared.BgmKind, 0);
  EXPECT_EQ(shared.BgmFile, "");
}

TEST_F(SettingsFileTest, MusicFileKeptOnlyWhileItCanBeOpened) {
  const std::string music = makeFile("song.mp3");
  writeSettings("2", "5", music.c_str());
  SharedState shared = load();
  EXPECT_EQ(shared.BgmKind, 2);
  EXPECT_EQ(shared.BgmRepeatTrack, 5);
  EXPECT_EQ(shared.BgmFile, music);

  unlink(music.c_str());
  shared = load();
  EXPECT_EQ(shared.BgmKind, 0);
  EXPECT_EQ(shared.BgmFile, "");
  // The settings file is left as it was.
  std::ifstream in(folder_ + "/Kolvane_Brightrun.ini");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(music), std::string::npos);
}

TEST_F(SettingsFileTest, KindTwoWithoutFileBecomesNoneButCdStays) {
  writeSettings("2", "0", "");
  EXPECT_EQ(load().BgmKind, 0);
  writeSettings("2", "0", nullptr);
  EXPECT_EQ(load().BgmKind, 0);
  writeSettings("1", "3", "");
  const SharedState shared = load();
  EXPECT_EQ(shared.BgmKind, 1);
  EXPECT_EQ(shared.BgmRepeatTrack, 3);
  // A folder is no music file.
  writeSettings("2", "0", (folder_ + "\\").c_str());
  EXPECT_EQ(load().BgmKind, 0);
}

TEST_F(SettingsFileTest, NumbersAreRoundedDownAndNonNumbersLeaveTheValue) {
  writeSettings("1.9", "-0.5", nullptr);
  SharedState shared = load();
  EXPECT_EQ(shared.BgmKind, 1);
  EXPECT_EQ(shared.BgmRepeatTrack, -1);

  writeSettings("abc", "70000", nullptr);
  shared.BgmKind = 1;
  shared.BgmRepeatTrack = 7;
  LoadSettings(port_, shared, folder_);
  EXPECT_EQ(shared.BgmKind, 1);
  EXPECT_EQ(shared.BgmRepeatTrack, 7);
  EXPECT_EQ(load().BgmRepeatTrack, 0);  // at start-up the kept value is 0

  // No range check: what the file says stays.
  writeSettings("3", "-32768", nullptr);
  shared = load();
  EXPECT_EQ(shared.BgmKind, 3);
  EXPECT_EQ(shared.BgmRepeatTrack, -32768);
}

TEST_F(SettingsFileTest, ValuesAreCutAt255Characters) {
  const std::string longName = std::string(300, 'a');
  writeSettings("1", nullptr, longName.c_str());
  EXPECT_EQ(ReadIniValue(port_, kSettingsSection, kKeyBgmFile, settingsFilePath(folder_)),
            std::string(255, 'a'));
  // A long number is cut too, and 255 digits do not fit in 16 bits.
  writeSettings(("1" + std::string(299, '0')).c_str(), "4", nullptr);
  const SharedState shared = load();
  EXPECT_EQ(shared.BgmKind, 0);
  EXPECT_EQ(shared.BgmRepeatTrack, 4);
}

TEST_F(SettingsFileTest, BinaryAndHugeFilesGiveNoCrash) {
  {
    std::ofstream out(folder_ + "/Kolvane_Brightrun.ini", std::ios::binary);
    for (int i = 0; i < 200000; ++i) out << static_cast<char>((i * 131) % 256);
    out << "\n[Section]\n" << kKeyBgmKind << "=1\n";
  }
  EXPECT_EQ(load().BgmKind, 1);
}

TEST_F(SettingsFileTest, WriteIniValueCutsNamesAndKeepsTheResult) {
  SharedState shared;
  const std::string file = settingsFilePath(folder_);
  WriteIniValue(port_, shared, kSettingsSection, kKeyBgmKind, "2", file);
  EXPECT_EQ(shared.ApiResult, 1);
  EXPECT_EQ(ReadIniValue(port_, kSettingsSection, kKeyBgmKind, file), "2");
  WriteIniValue(port_, shared, std::string(200, 's'), std::string(130, 'k'), "v", file);
  EXPECT_EQ(port_.writes.back(), std::string(127, 's') + "/" + std::string(127, 'k'));
  WriteIniValue(port_, shared, "Section", "Key", "v", folder_ + "\\no\\such\\folder.ini");
  EXPECT_EQ(shared.ApiResult, 0);
}

TEST_F(SettingsFileTest, FileExistsDropsOneTrailingBackslash) {
  const std::string music = makeFile("a.wav");
  EXPECT_TRUE(FileExists(port_, music));
  EXPECT_TRUE(FileExists(port_, music + "\\"));
  EXPECT_FALSE(FileExists(port_, folder_ + "\\"));
  EXPECT_FALSE(FileExists(port_, folder_));
  EXPECT_FALSE(FileExists(port_, folder_ + "\\missing.wav"));
  EXPECT_FALSE(FileExists(port_, ""));
  EXPECT_FALSE(FileExists(port_, "\\"));
}

TEST_F(SettingsFileTest, FileExistsKeepsADoubleByteCharacterWhoseSecondByteIs5C) {
  // "ソ" is 83 5C in Shift-JIS: a file named so, not a folder "\x83" and a slash.
  const std::string so = "\x83\x5C";
  const std::string music = folder_ + "\\" + so;
  makeFile(so);
  port_.isLeadByte = test::cp932LeadByte;
  EXPECT_TRUE(FileExists(port_, music));
  EXPECT_TRUE(FileExists(port_, music + "\\"));
  port_.isLeadByte = test::singleByte;
  EXPECT_FALSE(FileExists(port_, music)) << "in a single-byte code page 5C is a backslash";
}

}  // namespace
}  // namespace kb
