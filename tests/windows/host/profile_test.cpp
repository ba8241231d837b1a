// The settings routines over the real Windows profile functions: the
// Shift-JIS key bytes on disk, LoadSettings, FileExists and the program folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "host/settings_file.h"
#include "host/start.h"
#include "host/win32_animate.h"
#include "host/win32_profile.h"
#include "host/win32_show_claim.h"

namespace kb {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, base), 0u);
    folder_ = std::string(base) + "kb_profile_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    DeleteFileA(settingsFilePath(folder_).c_str());
  }
  void TearDown() override {
    DeleteFileA(settingsFilePath(folder_).c_str());
    DeleteFileA((folder_ + "\\song.wav").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  std::string folder_;
};

TEST_F(ProfileTest, LoadSettingsReadsTheShiftJisKeys) {
  const std::string music = folder_ + "\\song.wav";
  writeFile(music, "RIFF");
  writeFile(settingsFilePath(folder_),
            "[Section]\r\n\x42\x47\x4D\x8B\xE6\x95\xAA=2\r\n"
            "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4=1.9\r\n"
            "\x42\x47\x4D\xCC\xA7\xB2\xD9=" +
                music + "\r\n");
  SharedState shared;
  LoadSettings(win32ProfilePort(), shared, folder_);
  EXPECT_EQ(shared.BgmKind, 2);
  EXPECT_EQ(shared.BgmRepeatTrack, 1);
  EXPECT_EQ(shared.BgmFile, music);

  DeleteFileA(music.c_str());
  LoadSettings(win32ProfilePort(), shared, folder_);
  EXPECT_EQ(shared.BgmKind, 0);
  EXPECT_EQ(shared.BgmFile, "");
}

TEST_F(ProfileTest, ReadIniValueCutsAt255AndMissingGivesEmpty) {
  const std::string file = settingsFilePath(folder_);
  EXPECT_EQ(ReadIniValue(win32ProfilePort(), kSettingsSection, kKeyBgmFile, file), "");
  writeFile(file, "[Section]\r\n\x42\x47\x4D\xCC\xA7\xB2\xD9=" + std::string(400, 'z') + "\r\n");
  EXPECT_EQ(ReadIniValue(win32ProfilePort(), kSettingsSection, kKeyBgmFile, file),
            std::string(255, 'z'));
}

TEST_F(ProfileTest, WriteIniValueStoresTheExactKeyBytesInOrder) {
  const std::string file = settingsFilePath(folder_);
  SharedState shared;
  WriteIniValue(win32ProfilePort(), shared, kSettingsSection, kKeyBgmKind, "1", file);
  EXPECT_NE(shared.ApiResult, 0);
  WriteIniValue(win32ProfilePort(), shared, kSettingsSection, kKeyBgmRepeatTrack, "12", file);
  WriteIniValue(win32ProfilePort(), shared, kSettingsSection, kKeyBgmFile, "C:\\a b.mp3", file);
  const std::string text = readFile(file);
  const auto kind = text.find("\x42\x47\x4D\x8B\xE6\x95\xAA=1");
  const auto repeat = text.find("\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4=12");
  const auto path = text.find("\x42\x47\x4D\xCC\xA7\xB2\xD9=C:\\a b.mp3");
  ASSERT_NE(kind, std::string::npos) << text;
  ASSERT_NE(repeat, std::string::npos) << text;
  ASSERT_NE(path, std::string::npos) << text;
  EXPECT_LT(kind, repeat);
  EXPECT_LT(repeat, path);

  WriteIniValue(win32ProfilePort(), shared, "Section", "Key", "v", "Q:\\no\\such\\folder\\x.ini");
  EXPECT_EQ(shared.ApiResult, 0);
}

TEST_F(ProfileTest, FileExistsIsFalseForFoldersAndMissingFiles) {
  EXPECT_FALSE(FileExists(win32ProfilePort(), "C:\\Windows\\"));
  EXPECT_FALSE(FileExists(win32ProfilePort(), "C:\\Windows"));
  EXPECT_FALSE(FileExists(win32ProfilePort(), folder_ + "\\missing.wav"));
  const std::string music = folder_ + "\\song.wav";
  writeFile(music, "RIFF");
  EXPECT_TRUE(FileExists(win32ProfilePort(), music));
  // A file another program holds open for writing can still be read.
  const HANDLE held = CreateFileA(music.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(FileExists(win32ProfilePort(), music));
  CloseHandle(held);
}

TEST_F(ProfileTest, ProgramFolderIsThisProgramsFolder) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string folder = programFolder().ansi;
  EXPECT_EQ(std::string(path).rfind(folder + "\\", 0), 0u) << folder << " " << path;
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(FileExists(win32ProfilePort(), folder + "\\windows_host.exe"));
}

TEST_F(ProfileTest, AnimationsKeepTheirResult) {
  const HWND window = CreateWindowExA(0, "STATIC", "anim", WS_POPUP, 10, 20, 100, 50, nullptr,
                                      nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  SharedState shared;
  shared.CursorStartX = 5;
  shared.CursorStartY = 6;
  shared.ApiResult = 12345;
  AnimateOpen(window, shared);
  EXPECT_NE(shared.ApiResult, 12345);
  shared.ApiResult = 12345;
  AnimateClose(window, shared);
  EXPECT_NE(shared.ApiResult, 12345);
  DestroyWindow(window);
}

TEST(ShowClaimTest, AClaimThatExistsAlreadyIsNotTakenAgain) {
  const HANDLE first = CreateMutexA(nullptr, FALSE, kShowClaimName);
  EXPECT_TRUE(showClaimedElsewhere());
  EXPECT_FALSE(claimShowForProcess()) << "claimed a show that another start holds";
  CloseHandle(first);
  EXPECT_TRUE(claimShowForProcess());
}

}  // namespace
}  // namespace kb
